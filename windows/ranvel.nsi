; The Windows installer of ranvel and ranvel_small. makensis is given STAGE (the folder the
; cross build installed the programs and their DLLs into), INSTALLED (the uninstaller's list of
; what STAGE holds), VERSION and OUT.
; A 64-bit installer for 64-bit programs: Windows on x64 runs it, and so does a 64-bit Wine.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

Name "Ranvel ${VERSION}"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\Ranvel"
InstallDirRegKey HKLM "Software\Ranvel" "InstallDir"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ranvel"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Ranvel" SectionPrograms
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteRegStr HKLM "Software\Ranvel" "InstallDir" "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Ranvel ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ranvel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Ranvel"
  CreateShortcut "$SMPROGRAMS\Ranvel\Ranvel.lnk" "$INSTDIR\ranvel.exe"
  CreateShortcut "$SMPROGRAMS\Ranvel\Ranvel (small).lnk" "$INSTDIR\ranvel_small.exe"
  CreateShortcut "$SMPROGRAMS\Ranvel\Uninstall Ranvel.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

; Offered, not chosen for the user: another program may own .sgf files already.
Section /o ".sgf files open in Ranvel" SectionAssociation
  WriteRegStr HKLM "Software\Classes\Ranvel.sgf" "" "SGF game record"
  WriteRegStr HKLM "Software\Classes\Ranvel.sgf\DefaultIcon" "" "$INSTDIR\ranvel.exe,0"
  WriteRegStr HKLM "Software\Classes\Ranvel.sgf\shell\open\command" "" '"$INSTDIR\ranvel.exe" "%1"'
  ReadRegStr $0 HKLM "Software\Classes\.sgf" ""
  WriteRegStr HKLM "Software\Ranvel" "PreviousSgfOwner" "$0"
  WriteRegStr HKLM "Software\Classes\.sgf" "" "Ranvel.sgf"
  WriteRegStr HKLM "Software\Classes\.sgf\OpenWithProgids" "Ranvel.sgf" ""
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  ReadRegStr $0 HKLM "Software\Classes\.sgf" ""
  StrCmp $0 "Ranvel.sgf" 0 associationLeft
    ReadRegStr $1 HKLM "Software\Ranvel" "PreviousSgfOwner"
    WriteRegStr HKLM "Software\Classes\.sgf" "" "$1"
  associationLeft:
  DeleteRegValue HKLM "Software\Classes\.sgf\OpenWithProgids" "Ranvel.sgf"
  DeleteRegKey HKLM "Software\Classes\Ranvel.sgf"
  Delete "$SMPROGRAMS\Ranvel\Ranvel.lnk"
  Delete "$SMPROGRAMS\Ranvel\Ranvel (small).lnk"
  Delete "$SMPROGRAMS\Ranvel\Uninstall Ranvel.lnk"
  RMDir "$SMPROGRAMS\Ranvel"
  !include "${INSTALLED}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Ranvel"
SectionEnd
