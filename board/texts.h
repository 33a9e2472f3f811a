// The program's own texts. Each is shown to the operator or written into a file exactly
// as it stands here, blanks, full-width and half-width characters included.
#pragma once

#include <QString>

namespace texts {

inline const QString ApplicationTitle = QStringLiteral("RanvelZek2.03");
inline const QString Caption = QStringLiteral("Ranvel Zek2.03");
inline const QString SmallCaption = QStringLiteral("Ranvel Zek2.03 For EeePC");
inline const QString SmallApplicationTitle = QStringLiteral("RanvelZek2.03VovUvuDE");
inline const QString NotAnInteger = QStringLiteral("'%s' is not a valid integer value");
inline const QString SgfFilter = QStringLiteral("Sgf Files (*.sgf)|*.sgf");
inline const QString TitleWarning = QStringLiteral("Warning");
inline const QString TitleError = QStringLiteral("Error");
inline const QString TitleInformation = QStringLiteral("Information");
inline const QString TitleConfirm = QStringLiteral("Confirm");
inline const QString GridMoveHeader = QStringLiteral("手番");
inline const QString GridPlaceHeader = QStringLiteral("場所");
inline const QString Yoko = QStringLiteral("横");
inline const QString Tate = QStringLiteral("縦");
inline const QString Black = QStringLiteral("黒");
inline const QString White = QStringLiteral("白");
inline const QString ListCaption2 = QStringLiteral("編集中欠番(絶対手数)");
inline const QString ListCaption1 = QStringLiteral("入力済み欠番(絶対手数)");
inline const QString OffsetCaption = QStringLiteral("相対手数(+何手)");
inline const QString FirstPlayerCaption = QStringLiteral("先番");
inline const QString NoHandicapInLoaded = QStringLiteral("読込み編集画面では置石の追加、編集はできません。");
inline const QString DupAlready = QStringLiteral("は既に入力があります！");
inline const QString DupPlace = QStringLiteral("   重複場所　横");
inline const QString DupRelative1 = QStringLiteral("相対手番ではないですか？");
inline const QString DupRelative2 = QStringLiteral("相対手番なら一度入力値を消して相対手数入力後、");
inline const QString DupRelative3 = QStringLiteral("再度入力して下さい。");
inline const QString DigitsBox = QStringLiteral("入力された手番は桁数が多すぎます！\r\n\r\n");
inline const QString DigitsLog = QStringLiteral("入力された手番は桁数が多すぎます！");
inline const QString Te = QStringLiteral("手");
inline const QString Button1Caption = QStringLiteral("欠番手番確認");
inline const QString Button2Caption = QStringLiteral("欠番手番クリヤー");
inline const QString MissingListUp = QStringLiteral("総手数までで入力棋譜に無い手番をリストアップします！");
inline const QString MissingNeedTotal = QStringLiteral("チェックには総手数が必要です！");
inline const QString MissingDone = QStringLiteral("欠番手番確認終了！");
// %1: how many missing numbers did not fit in the list.
inline const QString MissingNotListed = QStringLiteral("欠番が多すぎるため、%1個の手番はリストに表示していません！");
inline const QString ClearConfirm = QStringLiteral("本当にクリヤーしますか？");
inline const QString ClearLog = QStringLiteral("欠番手番クリヤー！  ");
inline const QString InputValuePass1 = QStringLiteral(" 入力値");
inline const QString InputValuePass2 = QStringLiteral("入力値");
inline const QString NotDigits = QStringLiteral("  数字以外のデータが入力されています！");
inline const QString AboveTotal = QStringLiteral("  入力された数字は総手数より大きい数字です！");
inline const QString ZeroOrLess = QStringLiteral("  入力された数字が０以下です");
inline const QString DupAnd = QStringLiteral("　と　横");
inline const QString DupIs = QStringLiteral("　は重複しています！");
inline const QString ListRowPrefix = QStringLiteral("ﾘｽﾄﾎﾞｯｸｽ手番");
inline const QString PlaceNotOnBoard = QStringLiteral("  入力された手番の場所は棋譜上に入力がありません！");
inline const QString SearchCaption = QStringLiteral("検索");
inline const QString SearchBox = QStringLiteral("手番を検索します！\r\n\r\n");
inline const QString SearchResultHint = QStringLiteral("検索結果は処理情報に表示します。");
inline const QString SearchNotFound = QStringLiteral("手番検索　見つかりませんでした！");
inline const QString SearchFound = QStringLiteral("手番検索  ");
inline const QString SearchTe = QStringLiteral("手  ");
inline const QString GapLine = QStringLiteral("途中の手番が抜けています！　");
inline const QString GapTeban = QStringLiteral("手番　");
inline const QString GapBox1 = QStringLiteral("途中手番が抜けているところがあります！\r\n\r\n");
inline const QString GapBox2 = QStringLiteral("入力中の棋譜総手数を入力して、");
inline const QString GapBox3 = QStringLiteral("「欠番手番確認」を行って下さい。");
inline const QString GapBox4 = QStringLiteral("詳細は「処理情報」に表示しています。");
inline const QString SaveCaption = QStringLiteral("保存(&S)");
inline const QString SaveConfirm = QStringLiteral("編集中のデータを保存します！\r\n\r\n");
inline const QString FileNameLabel = QStringLiteral("  ﾌｧｲﾙ名: ");
inline const QString InvalidBox1 = QStringLiteral("データに不正があるため保存作業を中止します！\r\n\r\n");
inline const QString InvalidBox2 = QStringLiteral("データを修正して下さい。");
inline const QString InvalidLog = QStringLiteral("不正ﾃﾞｰﾀ　保存中止！");
inline const QString EditingFile = QStringLiteral("編集中のファイル　");
inline const QString Saved = QStringLiteral("保存しました！\r\n\r\n");
inline const QString BackupExists = QStringLiteral("// 既に同名のﾌｧｲﾙがあり、");
inline const QString SavedAs = QStringLiteral("// として保存しました。");
inline const QString SavedLog = QStringLiteral("編集中のﾃﾞｰﾀ保存  ");
inline const QString BackupBefore = QStringLiteral("// 編集前のﾌｧｲﾙは");
inline const QString SlashSlash = QStringLiteral("//");
inline const QString SlashIndent = QStringLiteral("//     ");
inline const QString FreshHeaderPlain = QStringLiteral("(;CA[shift_jis]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]");
inline const QString FreshHeaderHead = QStringLiteral("(;CA[shift_jis]AB");
inline const QString FreshHeaderTail = QStringLiteral("SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]");
inline const QString BackupSuffix = QStringLiteral("_bk.sgf");
inline const QString BackupInsert = QStringLiteral("_bk");
inline const QString SgfExtension = QStringLiteral(".sgf");
inline const QString ModeQ1 = QStringLiteral("本ﾌﾟﾛｸﾞﾗﾑはMultiGoのsgfﾌｧｲﾙ補助編集用として作成したものです。\r\n");
inline const QString ModeQ2 = QStringLiteral("新規作成及びMultiGoで途中まで作成したﾃﾞｰﾀの読込み編集が可能です。");
inline const QString ModeQ3 = QStringLiteral("MultiGoで入力されたゲーム情報はそのまま保存されます。");
inline const QString ModeQ4 = QStringLiteral("読込データを編集するモードは２つあります。");
inline const QString ModeQ5 = QStringLiteral("読込データを編集したいのなら、参考図、コメント保存されません。");
inline const QString ModeQ6 = QStringLiteral("読込データを編集する必要がないのなら、参考図、コメントは継承保存されます。");
inline const QString ModeQ7 = QStringLiteral("参考図、コメントを保存しますか？");
inline const QString ModeQ8 = QStringLiteral("   [Yes]  読込データ編集しない、参考図，コメントを保存する");
inline const QString ModeQ9 = QStringLiteral("   [No]   読込データ編集する、参考図，コメント保存しない");
inline const QString ModeQ10 = QStringLiteral("   [Canel]  中止");
inline const QString ModeQ11 = QStringLiteral("（置石について）");
inline const QString ModeQ12 = QStringLiteral("置石はｹﾞｰﾑ情報として扱います。");
inline const QString ModeQ13 = QStringLiteral("Zekではｹﾞｰﾑ情報の編集はできないため、");
inline const QString CaptionEditMode = QStringLiteral("Ranvel Zek2.00  【読込データ編集可能、参考図，コメント保存しない】");
inline const QString CaptionKeepMode = QStringLiteral("Ranvel Zek2.00  【読込データ編集不可能、参考図，コメント保存する】");
inline const QString HandicapHint = QStringLiteral("置石は「B」と入力");
inline const QString OpenLog = QStringLiteral("ﾌｧｲﾙ開く　");
inline const QString HeaderOnlyBox = QStringLiteral("このﾌｧｲﾙはﾍｯﾀﾞｰ部だけで\r\n\r\n棋譜ﾃﾞｰﾀが含まれていません！");
inline const QString HeaderOnlyLog = QStringLiteral("このﾌｧｲﾙはﾍｯﾀﾞｰ部だけで棋譜ﾃﾞｰﾀが含まれていません！");
inline const QString NotMultiGoBox1 = QStringLiteral("MultiGoで作成されたデータではありません！\r\n\r\n");
inline const QString NotMultiGoBox2 = QStringLiteral("取り込みますか？");
inline const QString NotMultiGoLog = QStringLiteral("MultiGoで作成されたデータではありません！");
inline const QString Marker = QStringLiteral("MULTIGO");
inline const QString HighestLoaded = QStringLiteral("読込最大手数　");
inline const QString SmallHeaderOnlyBox = QStringLiteral("このﾌｧｲﾙはｹﾞｰﾑ情報だけで\r\n\r\n棋譜ﾃﾞｰﾀが含まれていません！");
inline const QString SmallHeaderOnlyLog = QStringLiteral("このﾌｧｲﾙはｹﾞｰﾑ情報だけで棋譜ﾃﾞｰﾀが含まれていません！");
inline const QString LockCaption = QStringLiteral("読込データロック");
inline const QString Unlocked = QStringLiteral("読込データロック解除");
inline const QString TitleNewInput = QStringLiteral("（新規入力）");
inline const QString TitleNewRecord = QStringLiteral("（新規作成）");
inline const QString LogCaption = QStringLiteral("＜処理情報＞");
inline const QString NewCaption = QStringLiteral("新規作成(&N)");
inline const QString OpenCaption = QStringLiteral("開く(&O)");
inline const QString QuitCaption = QStringLiteral("終了(&Q)");
inline const QString NewConfirm1 = QStringLiteral("現在編集中のデータを破棄して\r\n\r\n");
inline const QString NewConfirm2 = QStringLiteral("新規作成しますか？");
inline const QString NewLog = QStringLiteral("新規作成！");
inline const QString QuitQuestion = QStringLiteral("プログラムを終了しますか？");
inline const QString QuitBoxHead = QStringLiteral("RanvelZek\r\n\r\n");
inline const QString MinchoFace = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString TotalCaption = QStringLiteral("総手数");
inline const QString SankouZuInitial = QStringLiteral("SankouZu");
inline const QString MemoInitial = QStringLiteral("Memo1");

// When the file system refuses: the box names the file, the log line ends with its name,
// and both end with the system's reason after ReasonLabel.
inline const QString BackupFailedBox = QStringLiteral("編集前のﾌｧｲﾙをﾊﾞｯｸｱｯﾌﾟできないため保存作業を中止します！\r\n\r\n");
inline const QString BackupFailedLog = QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ失敗　保存中止！  ");
inline const QString WriteFailedBox = QStringLiteral("ﾌｧｲﾙに書き込めないため保存作業を中止します！\r\n\r\n");
inline const QString WriteFailedLog = QStringLiteral("書込み失敗　保存中止！  ");
inline const QString ReadFailedBox = QStringLiteral("ﾌｧｲﾙを読み込めません！\r\n\r\n");
inline const QString ReadFailedLog = QStringLiteral("ﾌｧｲﾙ読込み失敗  ");
inline const QString ReasonLabel = QStringLiteral("  理由: ");
// The file system took fewer bytes than it was given. %1: the bytes of the file, %2: those written.
inline const QString ShortWrite = QStringLiteral("%1ﾊﾞｲﾄ中%2ﾊﾞｲﾄしか書き込めませんでした");

// A move number that the 1000-entry move table cannot hold, and a list row without a move number.
inline const QString TooManyDigitsFault = QStringLiteral("  入力された手番は桁数が多すぎます！");
inline const QString NoMoveNumber = QStringLiteral("  手番の入力がありません！");

// Reading a board from a picture. The box and the log line of a failure end with the
// picture's source and the reason after ReasonLabel.
inline const QString PictureConfirm = QStringLiteral("画像から棋譜を読み込みますか？");
inline const QString PictureReadLog = QStringLiteral("画像読込み　");
inline const QString ClipboardPicture = QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞの画像");
inline const QString ReadValue = QStringLiteral(" 読取り値");
inline const QString UnsureRead = QStringLiteral("  読取りが不確かです！確認して下さい。");
inline const QString PictureFailedBox = QStringLiteral("画像から棋譜を読み込めません！\r\n\r\n");
inline const QString PictureFailedLog = QStringLiteral("画像読込み失敗  ");
inline const QString NotAPicture = QStringLiteral("画像ﾌｧｲﾙではありません");
inline const QString PictureTooLarge = QStringLiteral("画像が大きすぎます");
inline const QString NoBoardFound = QStringLiteral("碁盤が見つかりません");
inline const QString PictureNotAFile = QStringLiteral("ﾌｧｲﾙではありません");
inline const QString PictureUnreadable = QStringLiteral("ﾌｧｲﾙを読み込めません");
// %1: the format of the file.
inline const QString PictureFormatNotRead = QStringLiteral("%1形式の画像は読めません（読める形式: PNG, JPEG, BMP, TIFF, WebP）");
inline const QString PictureDamaged = QStringLiteral("画像ﾌｧｲﾙが壊れています");
inline const QString PictureTooSmall = QStringLiteral("画像が小さすぎます");
inline const QString PictureTooThin = QStringLiteral("画像が細長すぎます");
// %1: the pages of the file.
inline const QString NoBoardOnFirstPage = QStringLiteral("1ﾍﾟｰｼﾞ目に碁盤が見つかりません（%1ﾍﾟｰｼﾞ中1ﾍﾟｰｼﾞ目だけを読みます）");
inline const QString PictureTurned = QStringLiteral("画像の向きが分かりません");
inline const QString PictureFault = QStringLiteral("画像の処理中にｴﾗｰが起きました");
// A handler failed in a way no check foresaw; the reason, where known, follows ReasonLabel.
inline const QString HandlerFault = QStringLiteral("処理中にｴﾗｰが起きました");
// Long work runs beside the window; a small window tells of it after half a second.
inline const QString ReadingPicture = QStringLiteral("画像から棋譜を読み込んでいます。Escで中止します。");
inline const QString SearchingPlaces = QStringLiteral("欠番手番の場所を囲碁のルールから調べています。Escで中止します。");
inline const QString StopWork = QStringLiteral("中止");

// Places of the missing moves, worked out from the rules of Go.
inline const QString CandidateMenu = QStringLiteral("候補の場所を入力");
inline const QString CandidateStart = QStringLiteral("欠番手番の場所を囲碁のルールから調べます！");
inline const QString CandidateDone = QStringLiteral("候補の場所入力終了！");
inline const QString CandidatePlace = QStringLiteral(" 場所");
inline const QString CandidateFilled = QStringLiteral("  打てる場所が一つだけなので入力しました！");
inline const QString CandidateChosen = QStringLiteral("  を入力しました！");
inline const QString CandidateOpen = QStringLiteral("  場所が決まりません　候補: ");
inline const QString CandidateNone = QStringLiteral("  ルール上打てる場所がありません！");
inline const QString CandidateStopped = QStringLiteral("候補の場所の探索が長くなるため途中で打ち切りました！　候補は見つかった分だけです。");
inline const QString CandidateSeparator = QStringLiteral("　");
inline const QString CandidateIndent = QStringLiteral("    ");
// After the search was cut short with nothing filled: what the operator can do.
inline const QString CandidateStoppedAdvice = QStringLiteral("  盤上の不確かな点と総手数を確かめてから、もう一度F5を押すか、欠番手番の場所を右クリックで一つずつ入力して下さい。");
// %1 column, %2 row of a point, after a place.
inline const QString CandidatePoint = QStringLiteral("（横%1縦%2）");
inline const QString IllegalMoveNumber = QStringLiteral(" 手番");
inline const QString IllegalOccupied = QStringLiteral("  まだ取られていない石のある場所に打たれています！");
inline const QString IllegalSuicide = QStringLiteral("  自殺手になっています！");
inline const QString IllegalKo = QStringLiteral("  取られたコウをすぐに取り返しています！");
inline const QString IllegalNoPoint = QStringLiteral("  打てる場所がありません！");
inline const QString IllegalSuspects = QStringLiteral("  入力ミスの可能性: ");
// No order of the missing moves makes a legal game; then the likeliest cause, once.
inline const QString NoLegalGame = QStringLiteral("ルール上正しく打てる手順がありません！");
// %1 the total, %2 the highest number on the board.
inline const QString CauseTotal = QStringLiteral("  原因の可能性: 総手数%1手が多すぎます（盤上の最大手番 %2手）");
// %1 the moves that have no point left.
inline const QString CauseMissingStone = QStringLiteral("  原因の可能性: 盤上に無い石があります　打てる場所が無い手番: %1");
inline const QString CauseWrongPoint = QStringLiteral("  原因の可能性: 違う場所に入力された手番があります");

// The notes printed beside a diagram read from a picture: a move played on an earlier stone's point.
inline const QString NoteHead = QStringLiteral("図の注記　");
inline const QString NoteFilled = QStringLiteral("  図の注記から入力しました！");
inline const QString NoteUnsure = QStringLiteral("  読取りが不確かなので入力しませんでした！");
inline const QString NoteNotMissing = QStringLiteral("  欠番の手番ではないので入力しませんでした！");
// The board's lines go on past an edge of the lattice read: every point may be one line off.
inline const QString LatticeInDoubt = QStringLiteral("盤の端の線の外にも線が続いています。全体が一路ずれている可能性があるため、全ての石を不確かにしました！");
// The place of a note that says its move was a pass.
inline const QString PassPlace = QStringLiteral("パス");
// A note naming a stone marked with a letter or sign: the stone's own move is not printed.
inline const QString NoteAtMark = QStringLiteral("  記号の石は手番が分からないので入力しませんでした！");
// The window that shows the picture a board was read from. %1 the picture's source.
inline const QString PictureWindowTitle = QStringLiteral("読込画像　%1");
inline const QString CropWindowTitle = QStringLiteral("盤の範囲を指定　%1");
inline const QString CropWindowHint = QStringLiteral("碁盤をマウスで囲むと、その範囲を読み込みます　Esc: 閉じる");
inline const QString DoubtsLeft = QStringLiteral("　（不確かな点 残り%1）");
inline const QString PictureWindowHint = QStringLiteral("F6: 次の不確かな点　F7: 画像を表示　Esc: 閉じる");
inline const QString NoteAgainstRules = QStringLiteral("  ルール上その場所には打てないので入力しませんでした！");

// A picture pasted or dropped onto a record: the next figure of its game, or a new record.
// A picture onto a record: Yes a new record, as before, No the next figure of its game.
inline const QString FigureQ0 = QStringLiteral("画像から棋譜を読み込みます。");
inline const QString FigureQ1 = QStringLiteral("   [Yes]  現在編集中のデータを破棄して、新しい棋譜として読み込む");
inline const QString FigureQ2 = QStringLiteral("   [No]   この棋譜の続きの図として読み込む");
inline const QString FigureQ3 = QStringLiteral("   [Cancel]  中止");
inline const QString FigureReadLog = QStringLiteral("続きの図読込み　");
// %1 the first and %2 the last move of the figure.
inline const QString FigureMoves = QStringLiteral("%1手～%2手");
// %1..%2 the numbers printed, %3..%4 the moves they stand for, %5 how the figure numbers them.
inline const QString FigureNumberingLine = QStringLiteral("図の手番　%1～%2 → %3手～%4手　%5");
inline const QString NumberingContinued = QStringLiteral("（前の図からの通し番号）");
inline const QString NumberingRestarted = QStringLiteral("（1から付け直し）");
inline const QString NumberingHundreds = QStringLiteral("（百の位を省略）");
// %1 the other numbering, %2 the figure's lowest number and %3 the move it would then be.
inline const QString NumberingAlso = QStringLiteral("  %1とも読めます（図の%2が%3手）！確認して下さい。");
inline const QString FigureNoNumbers = QStringLiteral("続きの図に手番の数字が読み取れません！");
inline const QString FigureBlack = QStringLiteral("黒石");
inline const QString FigureWhite = QStringLiteral("白石");
inline const QString FigureEmpty = QStringLiteral("空点");
// %1 what the position before the figure has on the point.
inline const QString FigureMismatch = QStringLiteral("  前の図までの局面では%1です！確認して下さい。");
inline const QString FigureEarlierMove = QStringLiteral("  前の図までの手番です！確認して下さい。");

// Files from other programs. Why Open refuses a file; %1 is the file's own value.
inline const QString NotNineteen = QStringLiteral("19路盤の棋譜ではありません　SZ[%1]");
inline const QString NotGo = QStringLiteral("囲碁の棋譜ではありません　GM[%1]");
inline const QString Utf16File = QStringLiteral("UTF-16で書かれたﾌｧｲﾙです");
inline const QString NoGameTree = QStringLiteral("SGFの棋譜がありません");
inline const QString CutShort = QStringLiteral("ゲーム情報の値の途中でﾌｧｲﾙが終わっています");
inline const QString CharsetInDoubt
    = QStringLiteral("文字ｺｰﾄﾞ(CA)の指定が無く、どの文字ｺｰﾄﾞで読んでも値の区切りが合わないため、手の順番を確定できません");
// A file that ends inside a value: told at Open; keep mode saves it only as it was.
inline const QString CutShortBox = QStringLiteral("このﾌｧｲﾙは値（コメントなど）の途中で終わっています！\r\n\r\n");
inline const QString CutShortKept = QStringLiteral("読込データを編集しないモードでは、新しい手を追加して保存することはできません。");
inline const QString CutShortLog = QStringLiteral("ﾌｧｲﾙが値の途中で終わっています");
inline const QString CutShortNoSplice
    = QStringLiteral("ﾌｧｲﾙが値の途中で終わっているため、新しい手を続けられません。読込データを編集するモードで開いて下さい");
// A file whose text a NUL byte ends before its last bytes: told at Open; keep mode, which
// writes the text back, cannot save it whole.
inline const QString NulBox = QStringLiteral("このﾌｧｲﾙはNUL文字の後にもﾃﾞｰﾀがあり、その部分は読み込んでいません！\r\n\r\n");
inline const QString NulLog = QStringLiteral("NUL文字の後のﾃﾞｰﾀは読み込んでいません");
inline const QString NulKept = QStringLiteral("読込データを編集しないモードでは保存できません。");
inline const QString NulNoSplice
    = QStringLiteral("NUL文字の後のﾃﾞｰﾀを書き戻せないため、このモードでは保存できません。読込データを編集するモードで開いて下さい");
// Moves of an opened file that the board cannot hold: numbered past a cell's three digits,
// or on taken points beyond the rows of the list.
inline const QString PastMostDigits = QStringLiteral("手番が999を超えるため、%1個の手は盤上に表示していません！");
inline const QString PastListRows = QStringLiteral("入力済み欠番のﾘｽﾄに入りきらないため、%1個の手は表示していません！");
// A number typed that an opened file's main line holds as a pass.
inline const QString PassAlready = QStringLiteral("は読込データのﾊﾟｽです！");
inline const QString PassReplaced = QStringLiteral("保存するとﾊﾟｽの代わりにこの場所の手になります。");
// %1 the move number, %2 its property as the file writes it.
inline const QString UnreadableMove = QStringLiteral("%1手の着手 %2 は碁盤の点ではありません");
// What the board of an opened file cannot show, and what edit mode does not save. Each item
// is one line of the box and one log line.
inline const QString NotShownBox = QStringLiteral("このﾌｧｲﾙには盤上に表示できないデータがあります！\r\n\r\n");
inline const QString NotShownKept = QStringLiteral("保存するときはそのまま残します。");
inline const QString NotShownLog = QStringLiteral("盤上に表示できません　");
inline const QString DroppedBox = QStringLiteral("読込データを編集するモードでは次のデータは保存されません！\r\n\r\n");
inline const QString DroppedLog = QStringLiteral("読込データ編集モードでは保存されません　");
inline const QString ItemIndent = QStringLiteral("  ");
inline const QString PassItem = QStringLiteral("ﾊﾟｽ　");
inline const QString SetupItem = QStringLiteral("棋譜途中の置石、手番の指定　%1か所");
inline const QString WhiteStonesItem = QStringLiteral("白の置石　%1個");
inline const QString OtherGamesItem = QStringLiteral("2局目以降の棋譜　%1局");
inline const QString UnplacedItem = QStringLiteral("盤上にもﾘｽﾄにも入らない手　%1手");
// Keep mode: a typed move that the loaded main line numbers already. %1 the move, %2 the
// first number free for new moves.
inline const QString SpliceFailedBox = QStringLiteral("新しい手を読込データの後に続けられないため保存作業を中止します！\r\n\r\n");
inline const QString SpliceFailedLog = QStringLiteral("追加不可　保存中止！  ");
inline const QString LoadedNumber = QStringLiteral("%1手は読込済みの手番です。新しい手は%2手から入力して下さい");

} // namespace texts
