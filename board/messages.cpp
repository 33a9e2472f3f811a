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

} // namespace messages
