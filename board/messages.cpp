#include "board/messages.h"

#include "board/limits.h"
#include "board/texts.h"

namespace messages {

namespace {
// Between a picture's source and what follows it.
const QString TwoBlanks = QStringLiteral("  ");
} // namespace

QString pointName(int x, int y)
{
    return texts::Yoko + QString::number(x) + texts::Tate + QString::number(y);
}

QString cellValueLine(int x, int y, const QString& text, const QString& problem)
{
    return pointName(x, y) + texts::InputValuePass1 + text + problem;
}

QString duplicateLine(int x, int y, const QString& text, int otherX, int otherY, const QString& otherText)
{
    return pointName(x, y) + texts::InputValuePass2 + text + texts::DupAnd + QString::number(otherX) + texts::Tate
        + QString::number(otherY) + texts::InputValuePass2 + otherText + texts::DupIs;
}

QString listRowLine(const QString& moveNumber, const QString& place, const QString& problem)
{
    return listRowName(moveNumber) + texts::InputValuePass1 + place + problem;
}

QString listRowName(const QString& moveNumber)
{
    return texts::ListRowPrefix + moveNumber;
}

QString gapLine(int move)
{
    return texts::GapLine + texts::GapTeban + QString::number(move) + texts::Te;
}

QString gapBox()
{
    const QString blankLine = CrLf + CrLf;
    return texts::GapBox1 + texts::GapBox2 + blankLine + texts::GapBox3 + blankLine + texts::GapBox4;
}

QString notListedLine(qint64 count)
{
    return texts::MissingNotListed.arg(count);
}

QString pastMostDigitsLine(qint64 count)
{
    return texts::PastMostDigits.arg(count);
}

QString pastListRowsLine(qint64 count)
{
    return texts::PastListRows.arg(count);
}

BoxAndLog passEntry(const QString& text, bool editMode, int next)
{
    const QString head = texts::GridMoveHeader + text + texts::PassAlready;
    const QString advice = editMode ? texts::PassReplaced : loadedNumber(text.toInt(), next);
    return {head + CrLf + CrLf + advice, head + texts::ItemIndent + advice};
}

namespace {
// What Open tells of a file it cannot write back whole, and what keep mode then cannot do.
BoxAndLog toldAtOpen(const QString& box, const QString& log, const QString& kept, bool keepMode)
{
    return {box + (keepMode ? kept : QString()), log + (keepMode ? texts::ItemIndent + kept : QString())};
}
} // namespace

BoxAndLog cutShort(bool keepMode)
{
    return toldAtOpen(texts::CutShortBox, texts::CutShortLog, texts::CutShortKept, keepMode);
}

BoxAndLog textAfterNul(bool keepMode)
{
    return toldAtOpen(texts::NulBox, texts::NulLog, texts::NulKept, keepMode);
}

BoxAndLog duplicateEntry(const QString& text, int otherX, int otherY)
{
    const QString head = texts::GridMoveHeader + text + texts::DupAlready;
    const QString place = texts::DupPlace + QString::number(otherX) + texts::Tate + QString::number(otherY);
    const QString advice = texts::DupRelative1 + CrLf + texts::DupRelative2 + CrLf + texts::DupRelative3 + CrLf;
    return {head + CrLf + CrLf + place + CrLf + CrLf + advice, head + place + CrLf + advice};
}

BoxAndLog tooManyDigits(const QString& text)
{
    const QString number = QStringLiteral("   ") + text + texts::Te;
    return {texts::DigitsBox + number, texts::DigitsLog + number};
}

BoxAndLog readFailed(const QString& path, const QString& reason)
{
    const QString why = texts::ReasonLabel + reason;
    return {texts::ReadFailedBox + texts::FileNameLabel + path + CrLf + CrLf + why, texts::ReadFailedLog + path + why};
}

QString newConfirm()
{
    return texts::NewConfirm1 + texts::NewConfirm2;
}

BoxAndLog quitQuestion()
{
    return {texts::QuitBoxHead + texts::QuitQuestion, texts::QuitQuestion};
}

QString searchBox(const QString& target, bool namesLog)
{
    QString text = texts::SearchBox + QStringLiteral("    ") + target + texts::Te + CrLf;
    if (namesLog)
        text += CrLf + texts::SearchResultHint + CrLf;
    return text;
}

QString searchFoundLine(const QString& target, int x, int y)
{
    return texts::SearchFound + target + texts::SearchTe + pointName(x, y);
}

QString searchNotFoundLine(const QString& target)
{
    return texts::SearchNotFound + target + texts::Te;
}

QString openModeQuestion()
{
    using namespace texts;
    return ModeQ1 + ModeQ2 + CrLf + ModeQ3 + CrLf + CrLf + ModeQ4 + CrLf + ModeQ5 + CrLf + ModeQ6 + CrLf + CrLf
        + ModeQ7 + CrLf + CrLf + ModeQ8 + CrLf + ModeQ9 + CrLf + ModeQ10 + CrLf + CrLf + ModeQ11 + CrLf + ModeQ12
        + CrLf + ModeQ13 + CrLf + NoHandicapInLoaded;
}

BoxAndLog notMultiGo()
{
    return {texts::NotMultiGoBox1 + texts::NotMultiGoBox2, texts::NotMultiGoLog};
}

QString highestLoadedLine(int move)
{
    return texts::HighestLoaded + QString::number(move) + texts::Te;
}

QString placeWithPoint(const QString& place, int x, int y)
{
    return place + texts::CandidatePoint.arg(x).arg(y);
}

QString placeFilledLine(int move, const QString& choice)
{
    return listRowName(QString::number(move)) + texts::CandidatePlace + choice + texts::CandidateFilled;
}

QString noPlaceLine(int move)
{
    return listRowName(QString::number(move)) + texts::CandidateNone;
}

QString placesOpenLine(int move, const QStringList& choices)
{
    // The log is a narrow box: a few candidates a line, under the move they belong to.
    constexpr int ChoicesPerLine = 3;
    QString entry = listRowName(QString::number(move)) + texts::CandidateOpen;
    for (qsizetype i = 0; i < choices.size(); i += ChoicesPerLine)
        entry += CrLf + texts::CandidateIndent + choices.mid(i, ChoicesPerLine).join(texts::CandidateSeparator);
    return entry;
}

QString placeChosenLine(const QString& moveNumber, const QString& choice)
{
    return listRowName(moveNumber) + texts::CandidatePlace + choice + texts::CandidateChosen;
}

QString illegalMoveLine(int x, int y, int move, const QString& fault, const QStringList& suspects)
{
    return pointName(x, y) + texts::IllegalMoveNumber + QString::number(move) + fault + texts::IllegalSuspects
        + suspects.join(texts::CandidateSeparator);
}

QString noPointLine(int move)
{
    return listRowName(QString::number(move)) + texts::IllegalNoPoint;
}

QString totalCauseLine(int total, int highest)
{
    return texts::CauseTotal.arg(total).arg(highest);
}

QString missingStoneCauseLine(const QList<int>& moves)
{
    QStringList names;
    for (int move : moves)
        names.append(QString::number(move) + texts::Te);
    return texts::CauseMissingStone.arg(names.join(texts::CandidateSeparator));
}

QString openLine(const QString& path)
{
    return texts::OpenLog + path;
}

QString editingTitle(const QString& path)
{
    return texts::EditingFile + path;
}

QString saveConfirm(const QString& path)
{
    return path.isEmpty() ? texts::SaveConfirm : texts::SaveConfirm + texts::FileNameLabel + path;
}

QString shortWrite(qint64 size, qint64 written)
{
    return texts::ShortWrite.arg(size).arg(written);
}

QString backupNote(const QString& head, const QString& backup)
{
    return CrLf + CrLf + head + CrLf + texts::SlashSlash + CrLf + texts::SlashIndent + backup + CrLf
        + texts::SlashSlash + CrLf + texts::SavedAs;
}

BoxAndLog saved(const QString& path, const QString& note)
{
    return {texts::Saved + texts::FileNameLabel + path + note, texts::SavedLog + path};
}

BoxAndLog saveFailed(bool backupStage, const QString& path, const QString& reason)
{
    const QString why = texts::ReasonLabel + reason;
    const QString box = backupStage ? texts::BackupFailedBox : texts::WriteFailedBox;
    const QString log = backupStage ? texts::BackupFailedLog : texts::WriteFailedLog;
    return {box + texts::FileNameLabel + path + CrLf + CrLf + why, log + path + why};
}

BoxAndLog invalidData()
{
    return {texts::InvalidBox1 + texts::InvalidBox2, texts::InvalidLog};
}

QString pictureConfirm()
{
    return texts::NewConfirm1 + texts::PictureConfirm;
}

QString pictureReadLine(const QString& source, int highest)
{
    return texts::PictureReadLog + source + TwoBlanks + highestLoadedLine(highest);
}

QString unsureReadLine(int x, int y, const QString& text)
{
    return pointName(x, y) + texts::ReadValue + text + texts::UnsureRead;
}

BoxAndLog pictureFailed(const QString& source, const QString& reason)
{
    return {texts::PictureFailedBox + TwoBlanks + source + CrLf + CrLf + texts::ReasonLabel + reason,
            texts::PictureFailedLog + source + texts::ReasonLabel + reason};
}

QString figureQuestion()
{
    using namespace texts;
    return FigureQ0 + CrLf + CrLf + FigureQ1 + CrLf + FigureQ2 + CrLf + FigureQ3;
}

QString figureReadLine(const QString& source, int first, int last)
{
    return texts::FigureReadLog + source + TwoBlanks + texts::FigureMoves.arg(first).arg(last);
}

QString figureNoNumbersLine(const QString& source)
{
    return texts::FigureReadLog + source + TwoBlanks + texts::FigureNoNumbers;
}

QString figureNumberingLine(int printedLow, int printedHigh, int first, int last, const QString& style,
                            const QString& otherStyle, int otherLow)
{
    const QString line = texts::FigureNumberingLine.arg(printedLow).arg(printedHigh).arg(first).arg(last).arg(style);
    return otherStyle.isEmpty() ? line : line + texts::NumberingAlso.arg(otherStyle).arg(printedLow).arg(otherLow);
}

QString figureMismatchLine(int x, int y, const QString& shown, const QString& before)
{
    return pointName(x, y) + texts::ReadValue + shown + texts::FigureMismatch.arg(before);
}

QString figureEarlierMoveLine(int x, int y, const QString& shown)
{
    return pointName(x, y) + texts::ReadValue + shown + texts::FigureEarlierMove;
}

QString noteFilledLine(int move, const QString& place)
{
    return listRowName(QString::number(move)) + texts::CandidatePlace + place + texts::NoteFilled;
}

QString noteUnusedLine(int move, const QString& place, const QString& reason)
{
    return texts::NoteHead + QString::number(move) + texts::Te + texts::CandidatePlace + place + reason;
}

QString unreadableMove(int move, const QByteArray& property)
{
    return texts::UnreadableMove.arg(move).arg(QString::fromLatin1(property));
}

QString notNineteen(const QByteArray& size)
{
    return texts::NotNineteen.arg(QString::fromLatin1(size));
}

QString notGo(const QByteArray& game)
{
    return texts::NotGo.arg(QString::fromLatin1(game));
}

QString passItem(const QList<int>& moves)
{
    QStringList numbers;
    for (const int k : moves)
        numbers.append(QString::number(k) + texts::Te);
    return texts::PassItem + numbers.join(texts::CandidateSeparator);
}

QString setupItem(int nodes)
{
    return texts::SetupItem.arg(nodes);
}

QString whiteStonesItem(int stones)
{
    return texts::WhiteStonesItem.arg(stones);
}

QString otherGamesItem(int games)
{
    return texts::OtherGamesItem.arg(games);
}

QString unplacedItem(int moves)
{
    return texts::UnplacedItem.arg(moves);
}

namespace {

QString itemLines(const QStringList& items)
{
    QString out;
    for (const QString& item : items)
        out += texts::ItemIndent + item + CrLf;
    return out;
}

QString logLines(const QString& head, const QStringList& items)
{
    QStringList lines;
    for (const QString& item : items)
        lines.append(head + item);
    return lines.join(CrLf);
}

} // namespace

BoxAndLog notShown(const QStringList& items)
{
    return {texts::NotShownBox + itemLines(items) + CrLf + texts::NotShownKept, logLines(texts::NotShownLog, items)};
}

BoxAndLog dropped(const QStringList& items)
{
    return {texts::DroppedBox + itemLines(items) + CrLf + texts::NotMultiGoBox2, logLines(texts::DroppedLog, items)};
}

QString loadedNumber(int move, int next)
{
    return texts::LoadedNumber.arg(move).arg(next);
}

BoxAndLog spliceFailed(const QString& path, const QString& reason)
{
    const QString why = texts::ReasonLabel + reason;
    return {texts::SpliceFailedBox + texts::FileNameLabel + path + CrLf + CrLf + why,
            texts::SpliceFailedLog + path + why};
}

} // namespace messages
