#!/usr/bin/env bash
# Installs the build into a temporary root as a package would, checks what a desktop needs to
# list and start the programs, validates the desktop entries and the metainfo, then makes the
# Debian package and compares it with the installed tree.
#   tst_install.sh build-dir app-id version "icon sizes" program...
set -euo pipefail
build=$1 id=$2 version=$3 sizes=$4
shift 4
programs=("$@")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
faults=0
fault() { echo "FAIL: $*" >&2; faults=$((faults + 1)); }

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

# The programs and nothing else of the build: no renderer, no tests.
installed=$(ls "$usr/bin" | sort | xargs)
expected=$(printf '%s\n' "${programs[@]}" | sort | xargs)
[ "$installed" = "$expected" ] || fault "bin holds '$installed', not '$expected'"
for program in "${programs[@]}"; do
  [ -x "$usr/bin/$program" ] || fault "bin/$program is not an executable"
done

# The windows start with Qt's libraries alone: the picture reader, OpenCV and Tesseract with
# it, comes from its module when the first picture is read, and the module is where they look.
for program in ranvel ranvel_small; do
  needed=$(ldd "$usr/bin/$program" | grep -o 'lib\(opencv\|tesseract\|lept\|gdal\|hdf5\)[^ ]*' | xargs || true)
  [ -z "$needed" ] || fault "$program loads $needed at start"
done
[ -f "$usr/lib/ranvel/libranvel_reader.so" ] || fault "the reader's module is not in lib/ranvel"

for entry in "$id.desktop ranvel" "$id.Small.desktop ranvel_small"; do
  read -r name program <<<"$entry"
  file=$usr/share/applications/$name
  if [ ! -f "$file" ]; then fault "no desktop entry $name"; continue; fi
  out=$(desktop-file-validate "$file" 2>&1) || fault "desktop-file-validate rejects $name: $out"
  grep -qx "Exec=$program" "$file" || fault "$name does not start $program"
  grep -qx "Icon=$id" "$file" || fault "$name does not name the icon $id"
  for key in Name Comment; do
    grep -q "^$key=." "$file" || fault "$name has no English $key"
    grep -q "^$key\[ja\]=." "$file" || fault "$name has no Japanese $key"
  done
  for category in Game BoardGame; do
    sed -n 's/^Categories=//p' "$file" | tr ';' '\n' | grep -qx "$category" ||
      fault "$name is not in the category $category"
  done
done

for size in $sizes; do
  icon=$usr/share/icons/hicolor/${size}x$size/apps/$id.png
  [ -f "$icon" ] || { fault "no $size px icon"; continue; }
  file -b "$icon" | grep -q "^PNG image data, $size x $size," || fault "$icon: $(file -b "$icon")"
done

metainfo=$usr/share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
  out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fault "appstreamcli rejects the metainfo: $out"
  for name in $(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo"); do
    [ -f "$usr/share/applications/$name" ] || fault "the metainfo launches $name, which is not installed"
  done
  provided=$(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' "$metainfo" | sort | xargs)
  [ "$provided" = "$expected" ] || fault "the metainfo provides '$provided', not '$expected'"
  grep -q "<release version=\"$version\"" "$metainfo" || fault "the metainfo names no release $version"
else
  fault "no metainfo $id.metainfo.xml"
fi

# The package holds the same files, has the project's version and depends on Qt's libraries.
out=$(cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" 2>&1) || fault "cpack: $out"
deb=$(ls "$work"/deb/ranvel_"$version"_*.deb 2>/dev/null || true)
if [ -f "$deb" ]; then
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fault "package version $(dpkg-deb -f "$deb" Version)"
  dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6.*tesseract-ocr-eng\|tesseract-ocr-eng.*libqt6widgets6' || fault "package Depends: $(dpkg-deb -f "$deb" Depends)"
  packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print substr($6, 2) }' | sort)
  tree=$(cd "$root" && find . -type f -o -type l | cut -c2- | sort)
  [ "$packaged" = "$tree" ] || fault "the package's files differ from the installed ones:
$(diff <(echo "$tree") <(echo "$packaged") || true)"
else
  fault "cpack made no ranvel_${version}_*.deb: $(ls "$work/deb" 2>&1 | xargs)"
fi

[ "$faults" -eq 0 ] || { echo "$faults fault(s)" >&2; exit 1; }
echo "installed and packaged: ${programs[*]}, 2 desktop entries, $(wc -w <<<"$sizes") icons, metainfo"
