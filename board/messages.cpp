#include "board/messages.h"

#include "board/record.h"
#include "board/texts.h"

namespace messages {

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
    return texts::ListRowPrefix + moveNumber + texts::InputValuePass1 + place + problem;
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

} // namespace messages
