#include "app/candidatemenu.h"
#include "app/tform1.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/texts.h"
#include "rules/candidatefill.h"
#include "rules/replay.h"
#include "support/boardtext.h"
#include "support/folders.h"
#include "support/gnugo.h"
#include "support/realgame.h"
#include "support/listview.h"
#include "support/windowui.h"

#include <QtTest>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

#include <functional>
#include <set>
#include <vector>

using namespace rules;

// The places of the missing moves from the rules of Go: on real games with their places
// removed, on records with a typing fault, and through F5 and the list's menu in the window.
class TestRules : public QObject {
    Q_OBJECT
private slots:
    void realGames_data();
    void realGames();
    void mistyped_data();
    void mistyped();
    void noLegalGame_data();
    void noLegalGame();
    void koFightSavedFromWindow_data();
    void koFightSavedFromWindow();
    void rowMenu();
    void logLineWording_data();
    void logLineWording();
    void cleanupTestCase();

private:
    int places_ = 0;
    int filled_ = 0;
    int determined_ = 0;
    int filledOthersKnown_ = 0;
};

namespace {

// A ko fought out on the left edge: white 8 is taken by 9, and the two points change hands
// four times before white fills the ko with 20.
const QByteArray KoFight = "(;GM[1]SZ[19];B[ba];W[ca];B[ab];W[db];B[bc];W[cc];B[jj];W[bb];B[cb];W[pp]"
                           ";B[po];W[bb];B[jp];W[jo];B[cb];W[dp];B[do];W[bb];B[qc];W[cb])";

// The record as typed from the diagram after the missing-number check: every off-board move
// listed in StringGrid2, with its place or without.
Form formOf(const Diagram& d, bool withPlaces)
{
    Form f;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            f.cell(x, y).text = d.at(x, y);
    f.radioGroup1 = d.whiteFirst ? go::FirstPlayer::White : go::FirstPlayer::Black;
    f.souTesuu = QString::number(d.total);
    for (int i = 0; i < d.offBoard.size(); ++i) {
        f.stringGrid2.at(0, i + 1) = QString::number(d.offBoard[i].move);
        if (withPlaces)
            f.stringGrid2.at(1, i + 1) = d.offBoard[i].place;
    }
    return f;
}

int pointNamed(const Diagram& d, const QString& place)
{
    for (int p = 0; p < Points; ++p)
        if (d.at(columnOf(p), rowOf(p)) == place)
            return p;
    return NoPoint;
}

// Every way of placing the open moves, one by one with no shortcut: the values each open move
// takes in some legal game. Stone::Empty when the record has more ways than are worth counting.
std::vector<std::set<int>> everyLegalPlacing(const Replay& rec)
{
    std::vector<int> opens;
    for (int k = 1; k <= rec.last(); ++k)
        if (rec.points[size_t(k)] == NoPoint)
            opens.push_back(k);
    std::vector<std::set<int>> seen(opens.size());
    std::vector<int> chosen(opens.size());
    long games = 0;
    std::function<void(int, size_t, Position)> walk = [&](int k, size_t o, Position p) {
        for (; k <= rec.last(); ++k) {
            if (rec.points[size_t(k)] == NoPoint)
                break;
            if (p.play(rec.points[size_t(k)], rec.colourOf(k), k) != Verdict::Legal)
                return;
        }
        if (k > rec.last()) {
            ++games;
            for (size_t i = 0; i < opens.size(); ++i)
                seen[i].insert(chosen[i]);
            return;
        }
        for (int c = 0; c < Points && games < 2000000; ++c) {
            if (p.stone[size_t(c)] != Stone::Empty || !p.captured[size_t(c)])
                continue;
            Position next = p;
            if (next.play(c, rec.colourOf(k), k) != Verdict::Legal)
                continue;
            chosen[o] = c;
            walk(k + 1, o + 1, next);
        }
    };
    Position start;
    for (int h : rec.handicap)
        start.putHandicap(h);
    walk(1, 0, start);
        return games < 2000000 ? seen : std::vector<std::set<int>>{};
}

QStringList logLines(const Form& f)
{
    return f.memo.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

QStringList faultLines(const Form& f)
{
    return logLines(f).filter(texts::IllegalSuspects) + logLines(f).filter(texts::IllegalNoPoint);
}

// Whether the point holds a stone just before the move, in the game as played.
bool occupiedBefore(const Game& game, int move, int point)
{
    Position p;
    for (const QPoint& h : game.handicap)
        p.putHandicap(pointOf(h.x(), h.y()));
    const bool whiteFirst = !game.handicap.isEmpty();
    for (int k = 1; k < move; ++k)
        p.play(pointOf(game.moves[k - 1].point.x(), game.moves[k - 1].point.y()),
               (k % 2) + (whiteFirst ? 1 : 0) == 1 ? Stone::Black : Stone::White, k);
    return p.stone[size_t(point)] != Stone::Empty;
}

QList<QFileInfo> gameFiles()
{
    QList<QFileInfo> files = QDir(QStringLiteral(RANVEL_TEST_DATA "/games")).entryInfoList({QStringLiteral("*.sgf")}, QDir::Files, QDir::Name);
    files.append(QFileInfo(QStringLiteral(RANVEL_TEST_DATA "/handicap_point_retaken.sgf")));
    return files;
}

} // namespace

void TestRules::realGames_data()
{
    QTest::addColumn<QByteArray>("sgf");
    for (const QFileInfo& f : gameFiles())
        QTest::newRow(qPrintable(f.completeBaseName())) << readFile(f.absoluteFilePath());
    QTest::newRow("ko fight") << KoFight;
}

// The places removed, the fill never writes a wrong one, writes each that every legal game
// agrees on, and logs the true place among the candidates of every row it leaves open.
void TestRules::realGames()
{
    QFETCH(QByteArray, sgf);
    const auto game = readGame(sgf);
    QVERIFY(game);
    const Diagram d = diagramOf(*game);
    Form f = formOf(d, false);
    const auto reference = everyLegalPlacing(replayOf(f));
    QVERIFY2(!reference.empty() || d.offBoard.isEmpty(), "too many legal games to count");
    fillCandidatePlaces(f);
    QVERIFY2(faultLines(f).isEmpty(), qPrintable(faultLines(f).join('\n')));
    QVERIFY(!f.memo.contains(texts::CandidateStopped));
    for (int i = 0; i < d.offBoard.size(); ++i) {
        const Diagram::OffBoard& truth = d.offBoard[i];
        const QString filled = f.stringGrid2.at(1, i + 1);
        const int point = pointNamed(d, truth.place);
        const bool certain = reference[size_t(i)].size() == 1;
        ++places_;
        determined_ += certain ? 1 : 0;
        // The same row when every other place is typed: fewer games are legal.
        Form known = formOf(d, true);
        known.stringGrid2.at(1, i + 1).clear();
        fillCandidatePlaces(known);
        if (!known.stringGrid2.at(1, i + 1).isEmpty()) {
            ++filledOthersKnown_;
            QCOMPARE(known.stringGrid2.at(1, i + 1), truth.place);
        }
        if (!filled.isEmpty()) {
            ++filled_;
            QCOMPARE(filled, truth.place);
            continue;
        }
        QVERIFY2(!certain, qPrintable(QStringLiteral("move %1 is certain at %2 but left open").arg(truth.move).arg(truth.place)));
        // The candidates follow the move's line, a few to an indented line.
        const QStringList lines = logLines(f);
        const QString head = messages::placesOpenLine(truth.move, {});
        QCOMPARE(lines.filter(head).size(), 1);
        qsizetype at = 0;
        while (!lines[at].contains(head))
            ++at;
        QString entry = lines[at];
        while (++at < lines.size() && lines[at].startsWith(texts::CandidateIndent))
            entry += lines[at];
        QVERIFY2(entry.contains(messages::placeWithPoint(truth.place, columnOf(point), rowOf(point))), qPrintable(entry));
        QCOMPARE(int(reference[size_t(i)].count(point)), 1);
    }
}

void TestRules::mistyped_data()
{
    QTest::addColumn<QByteArray>("sgf");
    QTest::addColumn<QStringList>("cells");  // "x,y,text" typed instead of the diagram's text
    QTest::addColumn<QStringList>("places"); // "move|place" typed instead of the true place
    QTest::addColumn<QString>("faultAt");    // the first fault line begins so: point, move and reason
    QTest::addColumn<QString>("suspect");    // one of the cells it names

    using messages::cellValueLine, messages::illegalMoveLine, messages::listRowLine;
    // Moves 9 and 11 swapped: 11 takes the ko, so 12 takes it back at once.
    QTest::newRow("ko: board numbers swapped") << KoFight << QStringList{"3,2,11", "16,15,9"} << QStringList{}
                                               << illegalMoveLine(2, 2, 12, texts::IllegalKo, {})
                                               << cellValueLine(3, 2, "11", {});
    QTest::newRow("ko: place of the wrong stone") << KoFight << QStringList{} << QStringList{"12|9"}
                                                  << illegalMoveLine(3, 2, 12, texts::IllegalOccupied, {})
                                                  << listRowLine("12", "9", {});
    QTest::newRow("suicide in the corner") << QByteArray("(;GM[1]SZ[19];B[ab];W[jj];B[ba];W[dd];B[pp])")
                                           << QStringList{"1,1,4", "4,4,"} << QStringList{}
                                           << illegalMoveLine(1, 1, 4, texts::IllegalSuicide, {})
                                           << cellValueLine(1, 1, "4", {});

    // From every real game: two places swapped, where the first of the two moves then falls on
    // a stone still standing; and a place with its last digit dropped, where that names a
    // standing stone.
    for (const QFileInfo& file : gameFiles()) {
        const QByteArray sgf = readFile(file.absoluteFilePath());
        const auto game = readGame(sgf);
        const Diagram d = diagramOf(*game);
        const auto& rows = d.offBoard;
        bool swapped = false, dropped = false;
        for (int i = 0; i < rows.size(); ++i) {
            for (int j = i + 1; j < rows.size() && !swapped; ++j) {
                const int p = pointNamed(d, rows[j].place);
                if (rows[i].place == rows[j].place || !occupiedBefore(*game, rows[i].move, p))
                    continue;
                swapped = true;
                QTest::newRow(qPrintable(file.completeBaseName() + QStringLiteral(": places swapped")))
                    << sgf << QStringList{}
                    << QStringList{QStringLiteral("%1|%2").arg(rows[i].move).arg(rows[j].place),
                                   QStringLiteral("%1|%2").arg(rows[j].move).arg(rows[i].place)}
                    << illegalMoveLine(columnOf(p), rowOf(p), rows[i].move, texts::IllegalOccupied, {})
                    << listRowLine(QString::number(rows[i].move), rows[j].place, {});
            }
            const QString shorter = rows[i].place.chopped(1);
            const int p = pointNamed(d, shorter);
            if (dropped || shorter.size() < 1 || shorter.startsWith('B') || p == NoPoint || !occupiedBefore(*game, rows[i].move, p))
                continue;
            dropped = true;
            QTest::newRow(qPrintable(file.completeBaseName() + QStringLiteral(": digit dropped")))
                << sgf << QStringList{} << QStringList{QStringLiteral("%1|%2").arg(rows[i].move).arg(shorter)}
                << illegalMoveLine(columnOf(p), rowOf(p), rows[i].move, texts::IllegalOccupied, {})
                << listRowLine(QString::number(rows[i].move), shorter, {});
        }
    }
}

// The record can be no legal game: the fill says where it first goes wrong, why, and which
// typed cell is to blame; it fills nothing and changes nothing but the log.
void TestRules::mistyped()
{
    QFETCH(QByteArray, sgf);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, places);
    QFETCH(QString, faultAt);
    QFETCH(QString, suspect);
    const Diagram d = diagramOf(*readGame(sgf));
    Form f = formOf(d, true);
    putCells(f, cells);
    for (const QString& p : places) {
        for (int row = 1; row <= d.offBoard.size(); ++row)
            if (f.stringGrid2.at(0, row) == p.section('|', 0, 0))
                f.stringGrid2.at(1, row) = p.section('|', 1);
    }
    const Form before = f;
    fillCandidatePlaces(f);
    const QStringList faults = faultLines(f);
    QVERIFY2(!faults.isEmpty(), qPrintable(f.memo));
    QVERIFY2(faults.first().startsWith(faultAt), qPrintable(faults.first()));
    QVERIFY2(faults.first().section(texts::IllegalSuspects, 1).split(texts::CandidateSeparator).contains(suspect),
             qPrintable(faults.first()));
    for (int row = 1; row < MoveList::Rows; ++row)
        QCOMPARE(f.stringGrid2.at(1, row), before.stringGrid2.at(1, row));
    for (int p = 0; p < Points; ++p)
        QCOMPARE(f.cells[size_t(p)].text, before.cells[size_t(p)].text);
}

void TestRules::noLegalGame_data()
{
    QTest::addColumn<QStringList>("cells");  // "x,y,text"
    QTest::addColumn<QStringList>("listed"); // missing moves in StringGrid2, without places
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("cause");      // the text the cause line begins with; empty: a legal game
    QTest::addColumn<QStringList>("named");  // what the lines after "no legal game" name

    const QStringList four{"4,4,1", "16,4,2", "4,16,3", "16,16,4"};
    const auto head = [](const QString& text) { return text.left(text.indexOf(QLatin1Char('%'))); };
    QTest::newRow("a legal game: nothing said") << four << QStringList() << "4" << QString() << QStringList();
    QTest::newRow("the total beyond the board")
        << four << QStringList{"5", "6", "7", "8"} << "8" << head(texts::CauseTotal) << QStringList{"8手", "4手"};
    QTest::newRow("a stone missing from the board")
        << QStringList{"4,4,1", "16,4,2", "16,16,4"} << QStringList{"3"} << "4" << head(texts::CauseMissingStone)
        << QStringList{"3手"};
    // White 4 typed in the corner that black 1 and 3 enclose.
    QTest::newRow("a number on the wrong point")
        << QStringList{"1,2,1", "10,10,2", "2,1,3", "1,1,4", "16,16,5"} << QStringList() << "5" << texts::CauseWrongPoint
        << QStringList{texts::IllegalSuicide};
}

// No order of the missing moves makes a legal game: said once, then the likeliest cause, and
// no line for each move that has no place.
void TestRules::noLegalGame()
{
    QFETCH(QStringList, cells);
    QFETCH(QStringList, listed);
    QFETCH(QString, total);
    QFETCH(QString, cause);
    QFETCH(QStringList, named);
    Form f;
    putCells(f, cells);
    for (int i = 0; i < listed.size(); ++i)
        f.stringGrid2.at(0, i + 1) = listed[i];
    f.souTesuu = total;
    fillCandidatePlaces(f);
    const QStringList lines = logLines(f);
    QCOMPARE(lines.count(texts::NoLegalGame), cause.isEmpty() ? 0 : 1);
    QVERIFY2(lines.filter(texts::CandidateNone).isEmpty() && lines.filter(texts::IllegalNoPoint).isEmpty(), qPrintable(f.memo));
    if (cause.isEmpty())
        return;
    const qsizetype at = lines.indexOf(texts::NoLegalGame);
    QVERIFY2(lines.value(at + 1).startsWith(cause), qPrintable(f.memo));
    const QString after = lines.mid(at + 1).join(QLatin1Char('\n'));
    for (const QString& n : named)
        QVERIFY2(after.contains(n), qPrintable(f.memo));
}

void TestRules::koFightSavedFromWindow_data()
{
    QTest::addColumn<bool>("smallScreen");
    QTest::newRow("ranvel") << false;
    QTest::newRow("ranvel_small") << true;
}

// The diagram of a ko fight typed in, the missing numbers listed, F5 fills every place, and
// the file saved from it is the game GNU Go plays through.
void TestRules::koFightSavedFromWindow()
{
    QFETCH(bool, smallScreen);
    QTemporaryDir dir;
    const QString original = writeFile(dir.filePath(QStringLiteral("played.sgf")), KoFight);
    const QString saved = dir.filePath(QStringLiteral("typed.sgf"));
    const auto game = readGame(KoFight);
    const Diagram d = diagramOf(*game);

    ShownWindow s(smallScreen ? BuildKind::smallScreen() : BuildKind::standard());
    TForm1& w = s.w;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    Form typed = formOf(d, false);
    w.form().cells = typed.cells;
    w.form().souTesuu = typed.souTesuu;
    w.showModel();
    qobject_cast<QPushButton*>(w.control(QStringLiteral("Button1")))->click();
    auto* list = qobject_cast<QTableView*>(w.control(QStringLiteral("StringGrid2")));
    QTest::keyClick(&w, Qt::Key_F5);
    for (int row = 1; row <= d.offBoard.size(); ++row)
        QCOMPARE(shownText(list, row, 1), d.offBoard[row - 1].place);
    QCOMPARE(logLines(w.form()).filter(texts::CandidateFilled).size(), d.offBoard.size());

    s.ui.savePaths.append(saved);
    qobject_cast<QPushButton*>(w.control(QStringLiteral("cmdSave")))->click();
    QVERIFY(s.ui.savePaths.isEmpty());
    QCOMPARE(readGame(readFile(saved))->moves, game->moves);
    QString error;
    const auto readings = readWithGnuGo({original, saved}, &error);
    QVERIFY2(readings, qPrintable(error));
    QVERIFY(readings->at(1).loaded && readings->at(1).complaints.isEmpty());
    QCOMPARE(readings->at(1).history, readings->at(0).history);
    QCOMPARE(readings->at(1).blackStones, readings->at(0).blackStones);
    QCOMPARE(readings->at(1).whiteStones, readings->at(0).whiteStones);
}

// A wrong place still in the list's editor is read by F5 and reported where it falls. The
// list's menu on that row offers the places the rules allow, whatever is typed there; choosing
// one types it, and the menu's first entry fills the rest.
void TestRules::rowMenu()
{
    ShownWindow s;
    TForm1& w = s.w;
    const Diagram d = diagramOf(*readGame(KoFight));
    Form typed = formOf(d, false);
    w.form().cells = typed.cells;
    w.form().stringGrid2 = typed.stringGrid2;
    w.showModel();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* list = qobject_cast<QTableView*>(w.control(QStringLiteral("StringGrid2")));

    // 12 typed at 9, which still stands.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(list->model()->index(1, 1)).center());
    QTest::keyClick(list, Qt::Key_9);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != list);
    QTest::keyClick(editor, Qt::Key_F5);
    QVERIFY2(!faultLines(w.form()).isEmpty() && faultLines(w.form()).first().startsWith(messages::illegalMoveLine(3, 2, 12, texts::IllegalOccupied, {})),
             qPrintable(w.form().memo));
    QCOMPARE(shownText(list, 1, 1), QStringLiteral("9"));
    QCOMPARE(shownText(list, 2, 1), QString());

    std::unique_ptr<QMenu> menu(candidateMenu(w, 1, nullptr));
    QStringList shown;
    for (QAction* a : menu->actions())
        shown.append(a->text());
    QCOMPARE(shown, (QStringList{texts::CandidateMenu, QString(), messages::placeWithPoint("8", 2, 2)}));
    menu->actions().last()->trigger();
    QCOMPARE(shownText(list, 1, 1), QStringLiteral("8"));
    std::unique_ptr<QMenu>(candidateMenu(w, 0, nullptr))->actions().first()->trigger();
    for (int row = 1; row <= d.offBoard.size(); ++row)
        QCOMPARE(shownText(list, row, 1), d.offBoard[row - 1].place);
}

// Each F5 log line once against its wording; the tests above compare with these builders.
void TestRules::logLineWording_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("wording");
    QTest::newRow("place with its point") << messages::placeWithPoint(QStringLiteral("8"), 3, 2)
                                          << QStringLiteral("8（横3縦2）");
    QTest::newRow("one place, filled") << messages::placeFilledLine(12, messages::placeWithPoint(QStringLiteral("8"), 3, 2))
                                       << QStringLiteral("ﾘｽﾄﾎﾞｯｸｽ手番12 場所8（横3縦2）  打てる場所が一つだけなので入力しました！");
    QTest::newRow("no place") << messages::noPlaceLine(12)
                              << QStringLiteral("ﾘｽﾄﾎﾞｯｸｽ手番12  ルール上打てる場所がありません！");
    QTest::newRow("places open") << messages::placesOpenLine(12, {messages::placeWithPoint(QStringLiteral("8"), 3, 2), messages::placeWithPoint(QStringLiteral("B1"), 4, 4),
                                                              QStringLiteral("5"), QStringLiteral("7")})
                                 << QStringLiteral("ﾘｽﾄﾎﾞｯｸｽ手番12  場所が決まりません　候補: \r\n    8（横3縦2）　B1（横4縦4）　5\r\n    7");
    QTest::newRow("place chosen") << messages::placeChosenLine(QStringLiteral("12"), messages::placeWithPoint(QStringLiteral("8"), 3, 2))
                                  << QStringLiteral("ﾘｽﾄﾎﾞｯｸｽ手番12 場所8（横3縦2）  を入力しました！");
    QTest::newRow("illegal: occupied, with suspects") << messages::illegalMoveLine(3, 2, 12, texts::IllegalOccupied, {QStringLiteral("9"), QStringLiteral("10")})
                                                      << QStringLiteral("横3縦2 手番12  まだ取られていない石のある場所に打たれています！  入力ミスの可能性: 9　10");
    QTest::newRow("illegal: suicide") << messages::illegalMoveLine(1, 1, 4, texts::IllegalSuicide, {})
                                      << QStringLiteral("横1縦1 手番4  自殺手になっています！  入力ミスの可能性: ");
    QTest::newRow("illegal: ko") << messages::illegalMoveLine(2, 2, 12, texts::IllegalKo, {})
                                 << QStringLiteral("横2縦2 手番12  取られたコウをすぐに取り返しています！  入力ミスの可能性: ");
    QTest::newRow("no point") << messages::noPointLine(12)
                              << QStringLiteral("ﾘｽﾄﾎﾞｯｸｽ手番12  打てる場所がありません！");
}

void TestRules::logLineWording()
{
    QFETCH(QString, built);
    QTEST(built, "wording");
}

void TestRules::cleanupTestCase()
{
    qInfo("places filled %d of %d (%d certain by every legal game); %d with the other places typed",
          filled_, places_, determined_, filledOthersKnown_);
}

QTEST_MAIN(TestRules)
#include "tst_rules.moc"
