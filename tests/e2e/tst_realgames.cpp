#include "app/tform1.h"
#include "board/colours.h"
#include "board/messages.h"
#include "board/texts.h"
#include "support/boardtext.h"
#include "support/folders.h"
#include "support/gnugo.h"
#include "support/realgame.h"
#include "support/windowui.h"
#include "support/listview.h"

#include <QtTest>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

// Games that GNU Go played against itself go the whole way an operator takes: the printed
// diagram is typed into the window key by key, the off-board moves are placed in the list,
// the record is saved and opened again in both modes; or half a game is saved, opened again
// and finished. GNU Go then reads back every file the program wrote.
class TestRealGames : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void diagramOfKnownGame_data();
    void diagramOfKnownGame();
    void typedGameRoundTrip_data();
    void typedGameRoundTrip();
    void reopenedGameFinished_data();
    void reopenedGameFinished();

private:
    QTemporaryDir saved_;
};

namespace {

QString gamesFolder()
{
    return QStringLiteral(RANVEL_TEST_DATA "/games");
}

QList<Diagram::OffBoard> offBoard(std::initializer_list<std::pair<int, const char*>> rows)
{
    QList<Diagram::OffBoard> out;
    for (const auto& [move, place] : rows)
        out.append({move, QString::fromLatin1(place)});
    return out;
}

QTableView* grid(TForm1& w, const char* name)
{
    return qobject_cast<QTableView*>(w.control(QLatin1String(name)));
}

void click(QWidget* target)
{
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
}

// What the operator types for a point of the diagram: the number, or a lower-case b for a
// handicap stone, which the window turns into the next label. Some are typed in full width.
QString typedText(const QString& shown)
{
    const QString typed = shown.startsWith(QLatin1Char('B')) ? QStringLiteral("b") : shown;
    return shown.endsWith(QLatin1Char('7')) || shown == QLatin1String("B2") ? fullWidth(typed) : typed;
}

// Key by key; a character beyond ASCII comes as the text of a key the keyboard has no code for.
void typeKeys(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(target, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The colour a point of the diagram shows: handicap stones are black, a numbered stone has
// the colour of the move that put it there.
QColor pointColour(const Game& game, const QString& shown)
{
    const bool black = shown.startsWith(QLatin1Char('B')) || game.moves[shown.toInt() - 1].black;
    return QColor::fromRgb(black ? colours::Black : colours::White);
}

} // namespace

void TestRealGames::initTestCase()
{
    QVERIFY(saved_.isValid());
    const QStringList games = QDir(gamesFolder()).entryList({QStringLiteral("*.sgf")}, QDir::Files);
    QVERIFY2(games.size() >= 20, qPrintable(QStringLiteral("%1 games in %2").arg(games.size()).arg(gamesFolder())));
    if (gnuGoProgram().isEmpty())
        QFAIL("GNU Go is not installed (Debian package gnugo): it has to read back every saved file.");
}

void TestRealGames::diagramOfKnownGame_data()
{
    QTest::addColumn<QByteArray>("sgf");
    QTest::addColumn<QStringList>("shown"); // "point=text" for every point that shows something
    QTest::addColumn<QList<Diagram::OffBoard>>("expectedOffBoard");
    QTest::addColumn<bool>("whiteFirst");

    // White 2 in the corner is taken by 3, and black 5 is played on its point.
    QTest::newRow("retake in the corner")
        << QByteArray("(;GM[1]SZ[19];B[ba];W[aa];B[ab];W[sa];B[aa];W[ss])")
        << QStringList{"2,1=1", "1,1=2", "1,2=3", "19,1=4", "19,19=6"} << offBoard({{5, "2"}}) << false;
    // A handicap stone captured and its point played again: the place is the stone's label.
    // Labels go in board order, whatever order the header lists the stones in.
    QTest::newRow("handicap point played again")
        << QByteArray("(;GM[1]SZ[19]AB[pp][ab][dd]PL[W];W[aa];B[qq];W[ac];B[rr];W[bb];B[sa];W[ab])")
        << QStringList{"2,1=", "1,2=B1", "4,4=B2", "16,16=B3", "1,1=1", "17,17=2", "1,3=3", "18,18=4", "2,2=5",
                       "19,1=6"}
        << offBoard({{7, "B1"}}) << true;
}

void TestRealGames::diagramOfKnownGame()
{
    QFETCH(QByteArray, sgf);
    QFETCH(QStringList, shown);
    const auto game = readGame(sgf);
    QVERIFY(game);
    const Diagram d = diagramOf(*game);
    int nonEmpty = 0;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            nonEmpty += d.at(x, y).isEmpty() ? 0 : 1;
    for (const QString& entry : shown) {
        const QStringList point = entry.section(QLatin1Char('='), 0, 0).split(QLatin1Char(','));
        QCOMPARE(d.at(point[0].toInt(), point[1].toInt()), entry.section(QLatin1Char('='), 1));
    }
    QCOMPARE(nonEmpty, int(shown.size() - shown.filter(QRegularExpression(QStringLiteral("=$"))).size()));
    QTEST(d.offBoard, "expectedOffBoard");
    QTEST(d.whiteFirst, "whiteFirst");
    QCOMPARE(d.total, int(game->moves.size()));
}

namespace {

// Every game of the folder, then a short one made by hand: GNU Go seldom takes a handicap
// stone, and this game does, so that a place is typed as a handicap label.
QList<QFileInfo> gameFiles()
{
    QList<QFileInfo> files = QDir(gamesFolder()).entryInfoList({QStringLiteral("*.sgf")}, QDir::Files, QDir::Name);
    files.append(QFileInfo(QStringLiteral(RANVEL_TEST_DATA "/handicap_point_retaken.sgf")));
    return files;
}

void chooseFirstPlayer(TForm1& w, bool white)
{
    for (QRadioButton* item : w.control(QStringLiteral("RadioGroup1"))->findChildren<QRadioButton*>()) {
        if (item->text() == (white ? texts::White : texts::Black))
            click(item);
    }
}

void typeTotal(TForm1& w, int total)
{
    auto* box = qobject_cast<QLineEdit*>(w.control(QStringLiteral("SouTesuu")));
    click(box);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QString::number(total));
}

// Walks the board with Enter from its first open cell, row by row, and types into every
// empty cell what the diagram shows there. Enter passes over locked cells by itself.
void typeBoard(TForm1& w, const Diagram& d)
{
    QLineEdit* first = nullptr;
    for (int i = 0; i < 361 && !first; ++i) {
        if (w.cell(i % 19 + 1, i / 19 + 1)->isEnabled())
            first = w.cell(i % 19 + 1, i / 19 + 1);
    }
    QVERIFY(first);
    click(first);
    QTRY_COMPARE(QApplication::focusWidget(), first);
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            QLineEdit* here = w.cell(x, y);
            if (!here->isEnabled())
                continue;
            QCOMPARE(QApplication::focusWidget(), here);
            if (here->text().isEmpty() && !d.at(x, y).isEmpty())
                typeKeys(here, typedText(d.at(x, y)));
            QTest::keyClick(here, Qt::Key_Return);
        }
    }
    // Enter after the last cell goes on to Save.
    QCOMPARE(QApplication::focusWidget(), w.control(QStringLiteral("cmdSave")));
}

void checkBoardTyped(TForm1& w, const Diagram& d, const Game& game)
{
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            QCOMPARE(w.cell(x, y)->text(), d.at(x, y));
            if (!d.at(x, y).isEmpty())
                QCOMPARE(w.cell(x, y)->palette().color(QPalette::Base), pointColour(game, d.at(x, y)));
        }
    }
}

// The missing-number check lists the given moves; the operator types, row by row, the text
// of the stone on whose point each was played. Half the operators press Enter after the
// last place; the others click Save while it is still being edited.
void listAndTypePlaces(TForm1& w, const QList<Diagram::OffBoard>& rows, bool enterAfterLast)
{
    click(w.control(QStringLiteral("Button1")));
    QTableView* list = grid(w, "StringGrid2");
    for (int row = 1; row <= rows.size(); ++row)
        QCOMPARE(shownText(list, row, 0), QString::number(rows[row - 1].move));
    QCOMPARE(shownText(list, int(rows.size()) + 1, 0), QString());
    QTRY_COMPARE(QApplication::focusWidget(), list);
    // The selection stays where the last typing left it, also through New and Open; the
    // operator then clicks the first listed number's place.
    if (list->currentIndex().row() != 1 || list->currentIndex().column() != 1) {
        list->scrollToTop();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualRect(list->model()->index(1, 1)).center());
    }
    for (int row = 1; row <= rows.size(); ++row) {
        QCOMPARE(list->currentIndex().row(), row);
        QCOMPARE(list->currentIndex().column(), 1);
        // Handicap places in lower case, every other place in full width: the list is tidied
        // before it is read.
        const QString lower = rows[row - 1].place.toLower();
        const QString place = row % 2 == 0 ? fullWidth(lower) : lower;
        typeKeys(list, place.left(1));
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor && editor != list);
        typeKeys(editor, place.mid(1));
        if (row == rows.size() && !enterAfterLast)
            return;
        // One Enter takes the place in and moves to the next row.
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), list);
        QCOMPARE(shownText(list, row, 1), place);
        QCOMPARE(list->currentIndex().row(), row + 1);
    }
}

QString boxesOf(const ScriptedUi& ui)
{
    QStringList out;
    for (const ScriptedUi::Box& b : ui.boxes)
        out.append(b.title + QStringLiteral(": ") + b.text);
    return out.join(QStringLiteral(" | "));
}

// Clicks Save, which is confirmed and reported done; the path is asked for only when the
// record has no file yet.
void save(TForm1& w, WindowUi& ui, const QString& newFile = QString())
{
    ui.boxes.clear();
    if (!newFile.isEmpty())
        ui.savePaths.append(newFile);
    click(w.control(QStringLiteral("cmdSave")));
    QVERIFY2(ui.savePaths.isEmpty(), "the save dialog was not shown");
    QVERIFY2(ui.boxes.size() == 2 && ui.boxes.last().kind == BoxKind::Information, qPrintable(boxesOf(ui)));
}

void open(TForm1& w, WindowUi& ui, const QString& file, Answer mode)
{
    ui.boxes.clear();
    ui.answers = {mode};
    ui.openPaths.append(file);
    click(w.control(QStringLiteral("cmdOpen")));
    QVERIFY2(ui.answers.isEmpty() && ui.openPaths.isEmpty() && ui.boxes.size() == 1, qPrintable(boxesOf(ui)));
    QCOMPARE(w.control(QStringLiteral("cmdLockKaizyo2"))->isVisible(), mode == Answer::No);
}

// The file holds the game's moves in order and its handicap stones in board order.
void checkSaved(const QByteArray& written, const Game& game)
{
    const auto savedGame = readGame(written);
    QVERIFY(savedGame);
    QCOMPARE(savedGame->moves, game.moves);
    QList<QPoint> stones = game.handicap;
    std::sort(stones.begin(), stones.end(),
              [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
    QCOMPARE(savedGame->handicap, stones);
    QVERIFY(written.endsWith(")\r\n"));
}

// The board and the list of moves on occupied points show the diagram, every stone in its
// colour and locked.
void checkOpened(TForm1& w, const Diagram& d, const Game& game)
{
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            QLineEdit* c = w.cell(x, y);
            const QString& shown = d.at(x, y);
            QVERIFY2(c->text() == shown, qPrintable(QStringLiteral("(%1,%2) shows '%3', the diagram '%4'")
                                                        .arg(x).arg(y).arg(c->text(), shown)));
            if (shown.isEmpty()) {
                QVERIFY(c->isEnabled());
                continue;
            }
            QVERIFY(!c->isEnabled());
            QCOMPARE(c->palette().color(QPalette::Base), pointColour(game, shown));
        }
    }
    QTableView* list = grid(w, "StringGrid1");
    QVERIFY(list->isVisible());
    for (int row = 1; row <= d.offBoard.size(); ++row) {
        QCOMPARE(shownText(list, row, 0), QString::number(d.offBoard[row - 1].move));
        QCOMPARE(shownText(list, row, 1), d.offBoard[row - 1].place);
    }
    QCOMPARE(shownText(list, int(d.offBoard.size()) + 1, 0), QString());
    for (QRadioButton* item : w.control(QStringLiteral("RadioGroup1"))->findChildren<QRadioButton*>()) {
        if (item->isChecked())
            QCOMPARE(item->text(), d.whiteFirst ? texts::White : texts::Black);
    }
    QVERIFY(w.form().memo.contains(messages::highestLoadedLine(d.total)));
}

// GNU Go plays the saved file through without a complaint and ends where the game ended.
void checkWithGnuGo(const QString& original, const QString& saved, const Game& game)
{
    QString error;
    const auto readings = readWithGnuGo({original, saved}, &error);
    QVERIFY2(readings, qPrintable(error));
    const GnuGoReading& before = readings->at(0);
    const GnuGoReading& after = readings->at(1);
    QVERIFY2(before.loaded && before.complaints.isEmpty(), qPrintable(before.complaints.join('\n')));
    QVERIFY2(after.loaded && after.complaints.isEmpty(), qPrintable(after.complaints.join('\n')));
    QCOMPARE(after.history.size(), game.moves.size());
    QCOMPARE(after.history, before.history);
    QCOMPARE(after.blackStones, before.blackStones);
    QCOMPARE(after.whiteStones, before.whiteStones);
    QCOMPARE(after.nextToPlay, before.nextToPlay);
}

} // namespace

void TestRealGames::typedGameRoundTrip_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("enterAfterLastPlace");
    // Every third game goes through the small-screen program.
    QTest::addColumn<bool>("smallScreen");
    int i = 0;
    for (const QFileInfo& f : gameFiles()) {
        const bool small = i % 3 == 2;
        QTest::newRow(qPrintable(f.completeBaseName() + (small ? QStringLiteral(", small screen") : QString())))
            << f.absoluteFilePath() << (i % 2 == 0) << small;
        ++i;
    }
}

// The road of a typed record: the whole diagram typed, the missing moves placed, saved; then
// opened in either mode, where the board shows the diagram again and a save with nothing
// changed writes the same file.
void TestRealGames::typedGameRoundTrip()
{
    QFETCH(QString, path);
    QFETCH(bool, enterAfterLastPlace);
    QFETCH(bool, smallScreen);
    const auto game = readGame(readFile(path));
    QVERIFY(game);
    const Diagram d = diagramOf(*game);
    QVERIFY2(!d.offBoard.isEmpty(), "a game with no move on a captured point leaves the list untried");
    QVERIFY(d.total <= 999 && d.offBoard.size() < 500);

    ShownWindow window(smallScreen ? BuildKind::smallScreen() : BuildKind::standard());
    TForm1& w = window.w;
    WindowUi& ui = window.ui;
    QVERIFY(QTest::qWaitForWindowActive(&w));

    chooseFirstPlayer(w, d.whiteFirst);
    typeTotal(w, d.total);
    typeBoard(w, d);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(ui.boxes.isEmpty(), qPrintable(boxesOf(ui)));
    checkBoardTyped(w, d, *game);
    if (QTest::currentTestFailed())
        return;
    listAndTypePlaces(w, d.offBoard, enterAfterLastPlace);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(ui.boxes.size(), 2);
    QCOMPARE(ui.boxes.last().text, texts::MissingDone);

    const QString file = saved_.filePath(QFileInfo(path).fileName());
    save(w, ui, file);
    const QByteArray written = readFile(file);
    checkSaved(written, *game);
    if (QTest::currentTestFailed())
        return;

    for (const Answer mode : {Answer::No, Answer::Yes}) {
        open(w, ui, file, mode);
        checkOpened(w, d, *game);
        if (QTest::currentTestFailed())
            return;
        save(w, ui);
        QCOMPARE(readFile(file), written);
    }
    checkWithGnuGo(path, file, *game);
}

void TestRealGames::reopenedGameFinished_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Answer>("mode");
    bool keep = true;
    for (const QFileInfo& f : gameFiles()) {
        QTest::newRow(qPrintable(f.completeBaseName() + (keep ? QStringLiteral(", keep mode") : QStringLiteral(", edit mode"))))
            << f.absoluteFilePath() << (keep ? Answer::Yes : Answer::No);
        keep = !keep;
    }
}

// The road of an opened record: the first half of the game is typed and saved, the file is
// opened again, and the operator types the rest among the locked stones and saves; the
// loaded text is kept (keep mode) or rebuilt (edit mode), and the file holds the whole game.
void TestRealGames::reopenedGameFinished()
{
    QFETCH(QString, path);
    QFETCH(Answer, mode);
    const auto game = readGame(readFile(path));
    QVERIFY(game);
    Game firstHalf = *game;
    firstHalf.moves = game->moves.mid(0, game->moves.size() / 2);
    const Diagram early = diagramOf(firstHalf);
    const Diagram whole = diagramOf(*game);

    ShownWindow window;
    TForm1& w = window.w;
    WindowUi& ui = window.ui;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    chooseFirstPlayer(w, early.whiteFirst);
    typeTotal(w, early.total);
    typeBoard(w, early);
    if (QTest::currentTestFailed())
        return;
    listAndTypePlaces(w, early.offBoard, true);
    if (QTest::currentTestFailed())
        return;
    const QString file = saved_.filePath(QStringLiteral("half_") + QFileInfo(path).fileName());
    save(w, ui, file);
    const QByteArray halfFile = readFile(file);
    checkSaved(halfFile, firstHalf);
    if (QTest::currentTestFailed())
        return;

    open(w, ui, file, mode);
    checkOpened(w, early, firstHalf);
    if (QTest::currentTestFailed())
        return;
    ui.boxes.clear();
    typeTotal(w, whole.total);
    typeBoard(w, whole);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(ui.boxes.isEmpty(), qPrintable(boxesOf(ui)));
    checkBoardTyped(w, whole, *game);
    // Moves of the first half that fell on occupied points stand in the loaded list.
    QList<Diagram::OffBoard> later;
    for (const Diagram::OffBoard& row : whole.offBoard) {
        if (row.move > early.total)
            later.append(row);
    }
    listAndTypePlaces(w, later, false);
    if (QTest::currentTestFailed())
        return;
    save(w, ui);
    const QByteArray written = readFile(file);
    checkSaved(written, *game);
    if (QTest::currentTestFailed())
        return;
    // Keep mode writes the loaded lines back, the line of the closing bracket less that
    // bracket, and the new moves after them; edit mode writes the moves afresh, 14 to a line.
    const QList<QByteArray> loaded = halfFile.split('\n');
    const QList<QByteArray> lines = written.split('\n');
    QCOMPARE(lines.first(), loaded.first());
    if (mode == Answer::Yes) {
        for (int i = 0; i + 2 < loaded.size(); ++i)
            QCOMPARE(lines[i], loaded[i]);
        QCOMPARE(lines[loaded.size() - 2], QByteArray("\r"));
    } else {
        QCOMPARE(lines.size(), 2 + (game->moves.size() + 13) / 14 + 1);
        for (int i = 1; i + 3 < lines.size(); ++i)
            QCOMPARE(lines[i].count(';'), 14);
        QCOMPARE(lines[lines.size() - 2], QByteArray(")\r"));
    }
    checkWithGnuGo(path, file, *game);
}

QTEST_MAIN(TestRealGames)
#include "tst_realgames.moc"
