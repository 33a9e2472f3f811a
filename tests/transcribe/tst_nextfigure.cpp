#include "board/cellname.h"
#include "board/form.h"
#include "board/lifecycle.h"
#include "board/texts.h"
#include "diagram/diagram.h"
#include "entry/figurenumbering.h"
#include "transcribe/nextfigure.h"
#include "transcribe/readboard.h"
#include "entry/unsurepoints.h"
#include "rules/position.h"
#include "ordering/moveordering.h"
#include "support/realgame.h"
#include "support/scriptedui.h"
#include "support/unsurepoints.h"

#include <QFile>
#include <QTest>

namespace {

Game loadGame(const QString& name)
{
    QFile file(QStringLiteral(RANVEL_TEST_DATA "/games/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no game %s", qPrintable(name));
    const auto game = readGame(file.readAll());
    if (!game)
        qFatal("not a game: %s", qPrintable(name));
    return *game;
}

// How a book numbers a figure's moves; the hundreds dropped print 200 as 100.
int printedNumber(int move, int figureStart, FigureNumbering::Style style)
{
    switch (style) {
    case FigureNumbering::Continued:
        return move;
    case FigureNumbering::Restarted:
        return move - figureStart + 1;
    case FigureNumbering::HundredsDropped:
        return move % 100 == 0 ? 100 : move % 100;
    }
    return move;
}

// The figures a book prints of a game, each ending at the move given: the stones of the
// figures before without numbers, the figure's own moves numbered where they first stand, and
// a note for each move on a point that already shows a stone, naming its number, or for a
// stone without one the letter the book prints on it.
QList<diagram::Result> figuresOf(const Game& game, const QList<int>& ends, FigureNumbering::Style style)
{
    QList<diagram::Result> figures;
    rules::Position pos;
    for (const QPoint& h : game.handicap)
        pos.putHandicap(rules::pointOf(h.x(), h.y()));
    int start = 1;
    for (int end : ends) {
        diagram::Result r;
        r.board.firstPlayer = !game.moves.isEmpty() && !game.moves.first().black ? go::FirstPlayer::White : go::FirstPlayer::Black;
        for (int p = 0; p < rules::Points; ++p) {
            if (pos.stone[size_t(p)] != go::Stone::Empty)
                r.board.points[size_t(p)].stone = pos.stone[size_t(p)] == go::Stone::Black ? diagram::Stone::Black : diagram::Stone::White;
        }
        char nextMark = 'a';
        for (int m = start; m <= end; ++m) {
            const GameMove& gm = game.moves[m - 1];
            const int p = rules::pointOf(gm.point.x(), gm.point.y());
            diagram::Point& fp = r.board.points[size_t(p)];
            // A first figure prints its numbers whole.
            const int printed = start == 1 ? m : printedNumber(m, start, style);
            if (fp.stone == diagram::Stone::Empty) {
                fp.stone = gm.black ? diagram::Stone::Black : diagram::Stone::White;
                fp.number = printed;
            } else if (fp.number > 0) {
                r.notes.push_back({printed, fp.number, false});
            } else {
                if (!fp.mark)
                    fp.mark = nextMark++;
                r.notes.push_back({printed, 0, false, fp.mark});
            }
            pos.play(p, gm.black ? go::Stone::Black : go::Stone::White, m);
        }
        figures.append(r);
        start = end + 1;
    }
    return figures;
}

void readFigures(Form& f, ScriptedUi& ui, const QList<diagram::Result>& figures)
{
    FormCreate(f);
    enterReading(f, ui, figures.first(), QStringLiteral("fig1.png"));
    for (int i = 1; i < figures.size(); ++i)
        enterNextFigure(f, ui, figures[i], QStringLiteral("fig%1.png").arg(i + 1));
}

// The moves as the record would save them, against the game: the first move that differs, or 0.
int firstWrongMove(Form& f, const Game& game)
{
    if (ZyunRetuStrKihu(f))
        return -1;
    for (int k = 1; k <= game.moves.size(); ++k) {
        const QPoint pt = game.moves[k - 1].point;
        const QString expected = QString(QChar('a' + pt.x() - 1)) + QChar('a' + pt.y() - 1);
        if (f.moveTable[size_t(k)] != expected)
            return k;
    }
    return f.moveTable[size_t(game.moves.size() + 1)].isEmpty() ? 0 : int(game.moves.size()) + 1;
}

QList<int> numbersFrom(const QString& ranges)
{
    QList<int> out;
    for (const QString& r : ranges.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int lo = r.section(QLatin1Char('-'), 0, 0).toInt();
        const int hi = r.contains(QLatin1Char('-')) ? r.section(QLatin1Char('-'), 1).toInt() : lo;
        for (int n = lo; n <= hi; ++n)
            out.append(n);
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(FigureNumbering::Style)

// A game printed over several figures reads onto one record, whatever the figures' numbering.
class TestNextFigure : public QObject {
    Q_OBJECT
private slots:
    void numbering_data();
    void numbering();
    void games_data();
    void games();
    void atOdds_data();
    void atOdds();
};

void TestNextFigure::numbering_data()
{
    QTest::addColumn<int>("highest");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<int>("captionFirst");
    // Each reading that fits, likeliest first, as "style:the move of the lowest number".
    QTest::addColumn<QStringList>("readings");

    QTest::newRow("on from figure 1") << 100 << "101-200" << 0 << QStringList{"0:101"};
    QTest::newRow("first moves only in the notes") << 100 << "104-200" << 0 << QStringList{"0:104"};
    // From 1 again and without the hundreds give every number the same move here.
    QTest::newRow("from 1 after 100") << 100 << "1-100" << 0 << QStringList{"1:101"};
    QTest::newRow("from 1 after 150: two readings") << 150 << "1-100" << 0 << QStringList{"1:151", "2:201"};
    QTest::newRow("hundreds dropped after 120") << 120 << "21-90" << 0 << QStringList{"2:121", "1:141"};
    QTest::newRow("hundreds dropped past 200") << 150 << "51-99 1-20" << 0 << QStringList{"2:201", "1:151"};
    QTest::newRow("first figure") << 0 << "1-120" << 0 << QStringList{"0:1"};
    QTest::newRow("a caption after a figure left out") << 100 << "1-100" << 201 << QStringList{"1:201"};
    QTest::newRow("numbers below the record's: none on") << 200 << "150-180" << 0 << QStringList{"1:350"};
    QTest::newRow("no numbers") << 100 << "" << 0 << QStringList{};
}

void TestNextFigure::numbering()
{
    QFETCH(int, highest);
    QFETCH(QString, printed);
    QFETCH(int, captionFirst);

    const QList<int> numbers = numbersFrom(printed);
    QStringList got;
    for (const FigureNumbering& n : numberingsFor(highest, numbers, {captionFirst, 0}))
        got << QStringLiteral("%1:%2").arg(int(n.style)).arg(n.absolute(*std::min_element(numbers.begin(), numbers.end())));
    QTEST(got, "readings");
}

void TestNextFigure::games_data()
{
    QTest::addColumn<QString>("game");
    QTest::addColumn<QList<int>>("ends");
    QTest::addColumn<FigureNumbering::Style>("style");
    // Figures whose numbering the rules leave open, each marked on its lowest number: a figure
    // of 100 moves from 151, from 1 again or without the hundreds, prints 1 to 100 alike.
    QTest::addColumn<int>("inDoubt");

    const QList<std::pair<const char*, QList<int>>> splits{
        {"game16_s16_l0_h0.sgf", {100, 200, 269}},
        {"game09_s9_l1_h2.sgf", {100, 200, 266}},
        {"game04_s4_l3_h0.sgf", {120, 190, 262}},
        {"game18_s18_l4_h2.sgf", {100, 200, 261}},
        {"game38_s38_l0_h3.sgf", {150, 250, 263}},
    };
    for (const auto& [game, ends] : splits) {
        for (const auto style : {FigureNumbering::Continued, FigureNumbering::Restarted, FigureNumbering::HundredsDropped}) {
            const bool open = ends[0] % 100 != 0 && style != FigureNumbering::Continued && ends[1] - ends[0] == 100;
            QTest::addRow("%s %d %d", game, ends[0], int(style)) << QString::fromLatin1(game) << ends << style << (open ? 1 : 0);
        }
    }
}

void TestNextFigure::games()
{
    QFETCH(QString, game);
    QFETCH(QList<int>, ends);
    QFETCH(FigureNumbering::Style, style);

    const Game g = loadGame(game);
    QCOMPARE(ends.last(), int(g.moves.size()));
    Form f;
    ScriptedUi ui;
    readFigures(f, ui, figuresOf(g, ends, style));
    QCOMPARE(f.souTesuu, QString::number(g.moves.size()));
    QTEST(int(unsureOf(f).size()), "inDoubt");
    QCOMPARE(firstWrongMove(f, g), 0);
    QVERIFY2(!ZyunRetuKihuKakunin(f, ui), qPrintable(f.memo.right(600)));
}

void TestNextFigure::atOdds_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("point");

    // A stone of figure 1 that figure 2 shows wrong, on a point of each kind.
    QTest::newRow("stone left out") << "remove" << "4,16";
    QTest::newRow("colour turned") << "flip" << "4,16";
    QTest::newRow("stone on an empty point") << "add" << "10,10";
}

void TestNextFigure::atOdds()
{
    QFETCH(QString, change);
    QFETCH(QString, point);

    const Game g = loadGame(QStringLiteral("game16_s16_l0_h0.sgf"));
    QList<diagram::Result> figures = figuresOf(g, {100, 200, 269}, FigureNumbering::Restarted);
    const int x = point.section(QLatin1Char(','), 0, 0).toInt();
    const int y = point.section(QLatin1Char(','), 1).toInt();
    diagram::Point& p = figures[1].board.at(x, y);
    if (change == QLatin1String("add")) {
        QVERIFY2(p.stone == diagram::Stone::Empty, "the test needs an empty point");
        p.stone = diagram::Stone::White;
    } else {
        QVERIFY2(p.stone != diagram::Stone::Empty && p.number == 0, "the test needs a stone of figure 1");
        p.stone = change == QLatin1String("flip") ? (p.stone == diagram::Stone::Black ? diagram::Stone::White : diagram::Stone::Black)
                                                  : diagram::Stone::Empty;
    }
    Form f;
    ScriptedUi ui;
    readFigures(f, ui, figures);
    QCOMPARE(unsureOf(f), QStringList{point});
    QVERIFY(f.memo.contains(QStringLiteral("横%1縦%2").arg(x).arg(y)));
    // The record itself keeps every move: the figure before holds the stone.
    QCOMPARE(firstWrongMove(f, g), 0);
}

QTEST_GUILESS_MAIN(TestNextFigure)
#include "tst_nextfigure.moc"
