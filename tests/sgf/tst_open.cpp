#include "board/colours.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/texts.h"
#include "entry/cellentry.h"
#include "sgf/open.h"
#include "sgf/save.h"
#include "sgf/loadedgame.h"
#include "sgf/lines.h"
#include "support/folders.h"
#include "support/scriptedui.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString crlf = QStringLiteral("\r\n");

// "x,y=text/colour" for every cell with text, in row order; colour b, w or - for neither.
QString boardText(const Form& f)
{
    QStringList parts;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const Cell& c = f.cell(x, y);
            if (c.text.isEmpty())
                continue;
            const QChar colour = c.background == colours::Black ? QLatin1Char('b')
                : c.background == colours::White                ? QLatin1Char('w')
                                                                : QLatin1Char('-');
            parts << QStringLiteral("%1,%2=%3/%4").arg(x).arg(y).arg(c.text).arg(colour);
        }
    }
    return parts.join(QLatin1Char(' '));
}

// "move=place" for the filled rows of StringGrid1.
QString listText(const Form& f)
{
    QStringList parts;
    for (int r = 1; r < MoveList::Rows; ++r) {
        if (!f.stringGrid1.at(0, r).isEmpty() || !f.stringGrid1.at(1, r).isEmpty())
            parts << f.stringGrid1.at(0, r) + QLatin1Char('=') + f.stringGrid1.at(1, r);
    }
    return parts.join(QLatin1Char(' '));
}

const QByteArray header = "(;CA[shift_jis]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]";

// Opens path after answering the mode question with mode; later boxes take answers.
void open(Form& f, ScriptedUi& ui, const QString& path, Answer mode = Answer::No, QList<Answer> answers = {})
{
    ui.answers = QList<Answer>{mode} + answers;
    ui.openPaths = {path};
    FileHiraku(f, ui);
}

// A file of the text opened as open() does, in a folder of its own: the form it opened into,
// with the boxes it showed and the file's path.
struct Opened : Form {
    QTemporaryDir dir;
    QString path;
    ScriptedUi ui;

    explicit Opened(const QByteArray& text, Answer mode = Answer::No, const QList<Answer>& answers = {},
                    const BuildKind& kind = BuildKind::standard())
        : Form(kind)
        , path(writeFile(dir.filePath(QStringLiteral("game.sgf")), text))
    {
        open(*this, ui, path, mode, answers);
    }
};

} // namespace

class TestOpen : public QObject {
    Q_OBJECT

private slots:
    void splitLines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QByteArray>>("lines");

        using L = QList<QByteArray>;
        QTest::newRow("empty") << QByteArray() << L{};
        QTest::newRow("no line end") << QByteArray("abc") << L{"abc"};
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << L{"a", "b"};
        QTest::newRow("CR only") << QByteArray("a\rb\r") << L{"a", "b"};
        QTest::newRow("LF only") << QByteArray("a\nb") << L{"a", "b"};
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << L{"a", "b", "c", "d"};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << L{"a", "", "b"};
        QTest::newRow("empty lines kept") << QByteArray("\r\n\r\na\r\n\r\n") << L{"", "", "a", ""};
        QTest::newRow("NUL ends the text") << QByteArray("a\r\nb\0c\r\nd", 10) << L{"a", "b"};
        QTest::newRow("NUL first") << QByteArray("\0a", 2) << L{};
        QTest::newRow("bytes kept") << QByteArray("C[\x83\x52\x83\x81]\r\n\xff") << L{"C[\x83\x52\x83\x81]", "\xff"};
    }

    void splitLines()
    {
        QFETCH(QByteArray, text);
        QTEST(::splitLines(text), "lines");
    }

    void firstMoveLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("first");

        QTest::newRow("second line") << QByteArray("(;SZ[19]\n;B[aa])") << 1;
        QTest::newRow("header of two lines") << QByteArray("(;SZ[19]\nPB[x]\n;B[aa])") << 2;
        QTest::newRow("line 0 does not count") << QByteArray("(;SZ[19];B[aa])") << 0;
        QTest::newRow("none") << QByteArray("(;SZ[19]\nPB[x])") << 0;
        QTest::newRow("semicolon anywhere") << QByteArray("(;SZ[19]\nC[a;b]") << 1;
    }

    void firstMoveLine()
    {
        QFETCH(QByteArray, text);
        QTEST(findFirstMoveLine(::splitLines(text)), "first");
    }

    // The main line as the parse reads it, whatever the layout: moves with the colour of
    // their own property, passes with their numbers, where new moves go.
    void mainLine_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("moves");
        // The line of the splice and its text from there: a ")" when one closes the main line.
        QTest::addColumn<QString>("splice");

        QTest::newRow("three moves") << header + "\n;B[pd];W[dd];B[pp])" << "1@16,4b 2@4,4w 3@16,16b" << "1:)";
        QTest::newRow("over lines") << header + "\n;B[pd];W[dd]\n;B[pp]\n)" << "1@16,4b 2@4,4w 3@16,16b" << "3:)";
        QTest::newRow("no close") << header + "\n;B[aa]" << "1@1,1b" << "1:";
        QTest::newRow("passes keep their numbers") << header + "\n;B[aa];W[];B[cc];W[tt])"
                                                   << "1@1,1b 2@pass,w 3@3,3b 4@pass,w" << "1:)";
        QTest::newRow("variations") << header + "\n;B[aa]\n(;W[bb];B[cc])\n(;W[dd]))" << "1@1,1b 2@2,2w 3@3,3b"
                                    << "2:)";
        QTest::newRow("close in a comment") << header + "\n;B[aa]C[see (a)];W[bb])" << "1@1,1b 2@2,2w" << "1:)";
        QTest::newRow("escaped bracket") << header + "\n;B[aa]C[a\\])b]\n;W[bb])" << "1@1,1b 2@2,2w" << "2:)";
        // ゾ ends in the byte of "]", ソ in that of the backslash.
        QTest::newRow("Shift-JIS bracket byte") << header + "\n;B[aa]C[\x83\x5d)];W[bb])" << "1@1,1b 2@2,2w"
                                                << "1:)";
        QTest::newRow("Shift-JIS backslash byte") << header + "\n;B[aa]C[\x83\x5c])(;W[bb])" << "1@1,1b" << "1:)(;W[bb])";
        // UTF-8 has no byte below 0x80 inside a character: あ then "]" closes the comment.
        QTest::newRow("declared UTF-8") << QByteArray("(;CA[UTF-8]\n;B[aa]C[\xe3\x81\x82];W[bb])\n)")
                                        << "1@1,1b 2@2,2w" << "1:)";
        QTest::newRow("semicolon and letters in a comment") << header + "\n;B[aa]C[x;ab];W[cc];B[dd])"
                                                            << "1@1,1b 2@3,3w 3@4,4b" << "1:)";
        QTest::newRow("later properties") << header + "\n;B[aa]C[bb]LB[cc:x];W[dd])" << "1@1,1b 2@4,4w" << "1:)";
        QTest::newRow("two blacks") << header + "\n;B[aa];B[bb])" << "1@1,1b 2@2,2b" << "1:)";
        QTest::newRow("setup node takes no number") << header + "\n;AB[aa];W[bb])" << "1@2,2w" << "1:)";
        QTest::newRow("moveless node takes no number") << header + "\n;B[aa];C[x];W[bb])" << "1@1,1b 2@2,2w" << "1:)";
        QTest::newRow("one line") << QByteArray("(;GM[1]SZ[19];B[aa];W[bb])") << "1@1,1b 2@2,2w" << "0:)";
        QTest::newRow("root on a line of its own") << QByteArray("(\n;GM[1]SZ[19]\n;B[aa];W[bb])") << "1@1,1b 2@2,2w"
                                                   << "2:)";
        QTest::newRow("root comment with brackets and a semicolon")
            << QByteArray("(;GM[1]US[Ph(i)Nk 0]C[a;b [c\\] (d)]\n;B[aa])") << "1@1,1b" << "1:)";
        QTest::newRow("move in the root") << QByteArray("(;SZ[19]B[pd];W[dd])") << "1@16,4b 2@4,4w" << "0:)";
        QTest::newRow("lower-case letters of old names") << QByteArray("(;GaMe[1];Black[aa];White[bb])")
                                                         << "1@1,1b 2@2,2w" << "0:)";
        QTest::newRow("CR LF and blanks") << QByteArray("(;GM[1]\n\n ; B [aa] \n;W\n[bb]\n)\n") << "1@1,1b 2@2,2w"
                                          << "5:)";
        QTest::newRow("second game not read") << header + "\n;B[aa])\n(;GM[1];B[bb])" << "1@1,1b" << "1:)";
    }

    void mainLine()
    {
        QFETCH(QByteArray, text);
        const LoadedGame game = loadedGameOf(::splitLines(text));
        QVERIFY(game.hasTree);
        QStringList read;
        for (const LoadedMove& m : game.moves) {
            const QString at = m.pass ? QStringLiteral("pass,") : QStringLiteral("%1,%2").arg(m.x).arg(m.y);
            read << QStringLiteral("%1@%2%3").arg(m.number).arg(at).arg(m.black ? 'b' : 'w');
        }
        QTEST(read.join(QLatin1Char(' ')), "moves");
        const QByteArray rest = ::splitLines(text).value(game.splice.line).mid(game.splice.column);
        QTEST(QString::number(game.splice.line) + QLatin1Char(':') + QString::fromLatin1(rest), "splice");
        QCOMPARE(game.closed, rest.startsWith(')'));
    }

    // What the record cannot hold is refused before anything changes, the reason in the box.
    void refusals_data()
    {
        // other.sgf is written with the text; missing.sgf is not there, folder.sgf a folder.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("text");
        // Empty for the system's own reason, which must be given.
        QTest::addColumn<QString>("reason");
        const QByteArray game = header + "\r\n;B[pd];W[dd])\r\n";
        QByteArray utf16;
        for (const char c : game)
            utf16 += QByteArray(1, c) + '\0';
        const QString other = QStringLiteral("other.sgf");
        QTest::newRow("UTF-16 without a mark") << other << utf16 << texts::Utf16File;
        QTest::newRow("UTF-16 with its mark") << other << "\xFF\xFE" + utf16 << texts::Utf16File;
        // No CA: a lone lead byte before one "]" and a Shift-JIS character ending in "\" before
        // another; no reading closes every value where the SGF says it must.
        QTest::newRow("encoding that no reading fits")
            << other << QByteArray("(;GM[1]PB[\xE5]PW[\x83\x5C]\r\n;B[pd];W[dd])") << texts::CharsetInDoubt;
        QTest::newRow("9x9") << other << QByteArray("(;GM[1]SZ[9];B[ee])") << messages::notNineteen("9");
        QTest::newRow("another game") << other << QByteArray("(;GM[2]SZ[19];B[ee])") << messages::notGo("2");
        QTest::newRow("move off the board") << other << QByteArray("(;SZ[19];B[pd];W[zz])")
                                            << messages::unreadableMove(2, "W[zz]");
        QTest::newRow("no game tree") << other << QByteArray("B[pd] and W[dd]") << texts::NoGameTree;
        QTest::newRow("root never ends") << other << QByteArray("(;GM[1]C[note;B[pd") << texts::CutShort;
        QTest::newRow("missing file") << "missing.sgf" << QByteArray() << QString();
        QTest::newRow("folder") << "folder.sgf" << QByteArray() << QString();
    }

    void refusals()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, text);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.sgf")));
        const QString path = dir.filePath(name);
        if (name == QLatin1String("other.sgf"))
            writeFile(path, text);
        Form f;
        f.cell(3, 3).text = QStringLiteral("5");
        f.lblHyoudai = QStringLiteral("title before");
        ScriptedUi ui;
        open(f, ui, path);
        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(ui.boxes[1].kind, BoxKind::Error);
        QCOMPARE(ui.boxes[1].buttons, BoxButtons::Ok);
        const QString native = QDir::toNativeSeparators(path);
        const QString head = messages::readFailed(native, QString()).box;
        QVERIFY2(ui.boxes[1].text.startsWith(head), qPrintable(ui.boxes[1].text));
        const QString given = reason.isEmpty() ? ui.boxes[1].text.mid(head.size()) : reason;
        QVERIFY(!given.isEmpty());
        const messages::BoxAndLog m = messages::readFailed(native, given);
        QCOMPARE(ui.boxes[1].text, m.box);
        QCOMPARE(f.memo, Form().memo + messages::openLine(native) + crlf + m.log + crlf);
        QCOMPARE(f.cell(3, 3).text, QStringLiteral("5"));
        QCOMPARE(f.lblHyoudai, QStringLiteral("title before"));
        QVERIFY(f.currentFileName.isEmpty() && f.loadedLines.isEmpty());
    }

    // What the board cannot show is told, kept in the file; what edit mode would drop is
    // asked about first, and Cancel stops the open.
    void notShownAndDropped_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Answer>("mode");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("board");
        const QByteArray passes = "(;GM[1]SZ[19]AW[aa];B[pd];W[];B[dd];W[tt])";
        const QStringList passItems{messages::passItem({2, 4}), messages::whiteStonesItem(1)};
        QTest::newRow("passes and white stones, keep") << passes << Answer::Yes << Answer::Ok << passItems << QStringList()
                                                       << "4,4=3/b 16,4=1/b";
        QTest::newRow("passes and white stones, edit") << passes << Answer::No << Answer::Ok << passItems << QStringList()
                                                       << "4,4=3/b 16,4=1/b";
        const QByteArray more = "(;GM[1];B[pd];AB[qq];W[dd])\r\n(;GM[1];B[aa])";
        const QStringList moreItems{messages::otherGamesItem(1), messages::setupItem(1)};
        QTest::newRow("other game and setup, keep") << more << Answer::Yes << Answer::Ok
                                                    << QStringList{messages::setupItem(1)} << QStringList()
                                                    << "4,4=2/w 16,4=1/b";
        QTest::newRow("other game and setup, edit") << more << Answer::No << Answer::Ok << QStringList() << moreItems
                                                    << "4,4=2/w 16,4=1/b";
        QTest::newRow("other game and setup, edit, Cancel") << more << Answer::No << Answer::Cancel << QStringList()
                                                            << moreItems << "";
    }

    void notShownAndDropped()
    {
        QFETCH(QByteArray, text);
        QFETCH(Answer, mode);
        QFETCH(Answer, answer);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, dropped);
        // The marker question comes first: these files are not the dialect's.
        const Opened f(text, mode, {Answer::Ok, answer});
        QStringList boxes;
        for (const ScriptedUi::Box& b : f.ui.boxes.mid(2))
            boxes << b.text;
        QStringList expected;
        if (!dropped.isEmpty())
            expected << messages::dropped(dropped).box;
        if (!shown.isEmpty())
            expected << messages::notShown(shown).box;
        QCOMPARE(boxes, expected);
        QTEST(boardText(f), "board");
        if (!dropped.isEmpty() && answer == Answer::Ok)
            QVERIFY(f.memo.contains(messages::dropped(dropped).log + crlf));
        if (!shown.isEmpty())
            QVERIFY(f.memo.endsWith(messages::notShown(shown).log + crlf));
    }

    // The first player continues the file's own turns; with no move, its PL, or white after
    // handicap stones alone.
    void firstPlayer_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("firstPlayer");
        QTest::newRow("stones, black moves first") << QByteArray("(;AB[dd][pp];B[pd];W[dp])") << 0;
        QTest::newRow("no stones, white moves first") << QByteArray("(;SZ[19];W[pd];B[dp])") << 1;
        QTest::newRow("two blacks in a row") << QByteArray("(;SZ[19];B[pd];B[dp];W[dd])") << 1;
        QTest::newRow("PL after the last move") << QByteArray("(;SZ[19];B[pd];PL[B])") << 1;
        QTest::newRow("no move, PL") << QByteArray("(;AB[dd][pp]PL[B]\n;C[x])") << 0;
        QTest::newRow("no move, handicap") << QByteArray("(;HA[2]\n;C[x])") << 1;
        QTest::newRow("no move, black and white stones") << QByteArray("(;AB[dd]AW[pp]\n;C[x])") << 0;
    }

    void firstPlayer()
    {
        QFETCH(QByteArray, text);
        QTEST(int(Opened(text).radioGroup1), "firstPlayer");
    }

    // The record on the board goes only for a file that was read.
    void failedOpenChangesNothing_data()
    {
        QTest::addColumn<Answer>("mode");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("mode question cancelled") << Answer::Cancel << QString();
        QTest::newRow("keep, dialog cancelled") << Answer::Yes << QString();
        QTest::newRow("edit, dialog cancelled") << Answer::No << QString();
        QTest::newRow("keep, missing file") << Answer::Yes << "missing.sgf";
        QTest::newRow("edit, a folder") << Answer::No << ".";
    }

    void failedOpenChangesNothing()
    {
        QFETCH(Answer, mode);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        Form f;
        f.cell(3, 3).text = QStringLiteral("5");
        f.stringGrid2.at(1, 1) = QStringLiteral("5");
        f.lockPressed = false;
        f.lockShown = true;
        f.lblOkiisiShown = false;
        f.lblHyoudai = QStringLiteral("title before");
        f.currentFileName = QStringLiteral("/somewhere/a.sgf");
        f.logLine(QStringLiteral("kept"));
        const QString logBefore = f.memo;
        ScriptedUi ui;
        ui.answers = {mode};
        if (!chosen.isEmpty())
            ui.openPaths = {dir.filePath(chosen)};
        FileHiraku(f, ui);
        QCOMPARE(ui.boxes[0].text, messages::openModeQuestion());
        QCOMPARE(ui.boxes[0].kind, BoxKind::Confirm);
        QCOMPARE(ui.boxes[0].title, texts::TitleConfirm);
        QCOMPARE(ui.boxes[0].buttons, BoxButtons::YesNoCancel);
        if (mode == Answer::Cancel)
            QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.openDialogs, mode == Answer::Cancel ? 0 : 1);
        QCOMPARE(f.caption, Form().caption);
        QVERIFY(f.lockShown);
        QVERIFY(!f.lockPressed);
        QCOMPARE(f.cell(3, 3).text, QStringLiteral("5"));
        QCOMPARE(f.stringGrid2.at(1, 1), QStringLiteral("5"));
        QCOMPARE(f.currentFileName, QStringLiteral("/somewhere/a.sgf"));
        QCOMPARE(f.lblHyoudai, QStringLiteral("title before"));
        QVERIFY(!f.lblOkiisiShown);
        QVERIFY(f.memo.startsWith(logBefore));
        QCOMPARE(f.memo == logBefore, chosen.isEmpty());
    }

    void opensMoves_data()
    {
        QTest::addColumn<Answer>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("lockShown");
        QTest::newRow("keep") << Answer::Yes << texts::CaptionKeepMode << false;
        QTest::newRow("edit") << Answer::No << texts::CaptionEditMode << true;
    }

    void opensMoves()
    {
        QFETCH(Answer, mode);
        const Opened f(header + "\r\n;B[pd];W[dd];B[pp]\r\n)\r\n(;C[reference])\r\n", mode);
        QCOMPARE(f.ui.boxes.size(), 1);
        QTEST(f.caption, "caption");
        QTEST(f.lockShown, "lockShown");
        QCOMPARE(f.currentFileName, f.path);
        QCOMPARE(f.lblHyoudai, messages::editingTitle(QDir::toNativeSeparators(f.path)));
        QVERIFY(!f.lblOkiisiShown);
        QCOMPARE(f.loadedLines.size(), 4);
        QCOMPARE(f.loadedLines[3], QByteArray("(;C[reference])"));
        QCOMPARE(f.firstMoveLine, 1);
        QCOMPARE(f.gameInfo, header);
        QCOMPARE(boardText(f), QStringLiteral("4,4=2/w 16,4=1/b 16,16=3/b"));
        for (const auto& [x, y] : {std::pair{16, 4}, {4, 4}, {16, 16}}) {
            QVERIFY(!f.cell(x, y).enabled);
            QCOMPARE(f.cell(x, y).tag, CellOrigin::LoadedMove);
        }
        QCOMPARE(f.cell(10, 10).tag, CellOrigin::Typed);
        QCOMPARE(f.loadedNodeCount, 3);
        QCOMPARE(f.tailLine, 3);
        QCOMPARE(f.sankouZu, QByteArray("(;C[reference])"));
        QCOMPARE(f.radioGroup1, go::FirstPlayer::Black);
        QVERIFY(f.stringGrid1.shown);
        QCOMPARE(listText(f), QString());
        QCOMPARE(f.memo, messages::openLine(QDir::toNativeSeparators(f.path)) + crlf + messages::highestLoadedLine(3) + crlf);
    }

    void movesOnOccupiedPoints()
    {
        // Move 4 on the stone of 1, move 5 on the handicap stone B2, move 6 on 4's point again.
        const Opened f("(;CA[shift_jis]AB[dd][pp]SZ[19]MULTIGOGM[1]\r\n;W[pd];B[dp];W[qf];B[pd];W[pp];B[pd]\r\n)");
        QCOMPARE(f.radioGroup1, go::FirstPlayer::White);
        QCOMPARE(boardText(f), QStringLiteral("4,4=B1/b 16,4=1/w 17,6=3/w 4,16=2/b 16,16=B2/b"));
        QCOMPARE(listText(f), QStringLiteral("4=1 5=B2 6=1"));
        QCOMPARE(f.cell(4, 4).tag, CellOrigin::LoadedHandicap);
        QCOMPARE(f.cell(16, 4).tag, CellOrigin::LoadedMove);
        // The highest move stands only in the list.
        QVERIFY(f.memo.endsWith(messages::highestLoadedLine(6) + crlf));
    }

    void headerOnly_data()
    {
        QTest::addColumn<bool>("small");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("gameInfo");
        QTest::addColumn<QString>("stones");
        QTest::addColumn<int>("firstPlayer");

        const QByteArray one = "(;CA[shift_jis]AB[dd][pp]SZ[19]MULTIGOGM[1])";
        for (const bool small : {false, true}) {
            const char* build = small ? "small" : "standard";
            const QString stones = small ? QStringLiteral("4,4=B1/b 16,16=B2/b") : QString();
            // The small-screen build shows the stones and so moves white first after them;
            // the standard build leaves the board and the first player as cleared.
            const int firstPlayer = small ? 1 : 0;
            QTest::addRow("%s: empty file", build) << small << QByteArray() << QByteArray() << QString() << 0;
            QTest::addRow("%s: one line", build) << small << one + "\r\n" << one << stones << firstPlayer;
            QTest::addRow("%s: no move line", build)
                << small << QByteArray("(;CA[shift_jis]AB[dd]\r\nAB[pp]\r\nSZ[19])\r\n")
                << QByteArray("(;CA[shift_jis]AB[dd]AB[pp]SZ[19])") << stones << firstPlayer;
        }
    }

    void headerOnly()
    {
        QFETCH(bool, small);
        QFETCH(QByteArray, text);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("info.sgf")), text);
        const BuildKind& kind = small ? BuildKind::smallScreen() : BuildKind::standard();
        Form f(kind);
        f.firstMoveLine = 5;
        ScriptedUi ui;
        open(f, ui, path);
        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(ui.boxes[1].kind, BoxKind::Information);
        QCOMPARE(ui.boxes[1].buttons, BoxButtons::Ok);
        QCOMPARE(ui.boxes[1].text, small ? texts::SmallHeaderOnlyBox : texts::HeaderOnlyBox);
        const QString headerOnly = small ? texts::SmallHeaderOnlyLog : texts::HeaderOnlyLog;
        QCOMPARE(f.memo, messages::openLine(QDir::toNativeSeparators(path)) + crlf + headerOnly + crlf);
        QCOMPARE(f.firstMoveLine, 0);
        QTEST(f.gameInfo, "gameInfo");
        QTEST(boardText(f), "stones");
        QTEST(int(f.radioGroup1), "firstPlayer");
        QCOMPARE(f.currentFileName, path);
        QVERIFY(!f.stringGrid1.shown);
        QCOMPARE(f.loadedNodeCount, 0);
    }

    // A file of game information alone, opened, one move typed at 10-10 and saved: the
    // root as one line, the move on its own line, ")" on its own line, in both modes.
    void headerOnlySaved_data()
    {
        QTest::addColumn<bool>("small");
        QTest::addColumn<Answer>("mode");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("saved");

        const QByteArray root = "(;CA[shift_jis]AB[dd][pp]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]";
        const QList<std::pair<const char*, QByteArray>> shapes{
            {"one line", root + ")\r\n"},
            {"close on a line of its own", root + "\r\n)\r\n"},
            {"root over two lines", "(;CA[shift_jis]AB[dd][pp]\r\nSZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1])\r\n"},
            {"LF ends", root + ")\n"},
        };
        for (const bool small : {false, true}) {
            for (const Answer mode : {Answer::Yes, Answer::No}) {
                for (const auto& [shape, text] : shapes) {
                    const QByteArray move = small ? ";W[jj]" : ";B[jj]";
                    QTest::addRow("%s, %s: %s", small ? "small" : "standard", mode == Answer::Yes ? "keep" : "edit", shape)
                        << small << mode << text << root + "\r\n" + move + "\r\n)\r\n";
                }
            }
        }
        // A comment over two lines keeps its line break.
        QTest::addRow("standard, edit: comment over two lines")
            << false << Answer::No << QByteArray("(;GM[1]GC[a\r\nb]MULTIGOGM[1])\r\n")
            << QByteArray("(;GM[1]GC[a\r\nb]MULTIGOGM[1]\r\n;B[jj]\r\n)\r\n");
    }

    void headerOnlySaved()
    {
        QFETCH(bool, small);
        QFETCH(Answer, mode);
        QFETCH(QByteArray, text);
        Opened f(text, mode, {}, small ? BuildKind::smallScreen() : BuildKind::standard());
        Derutoki(f, QStringLiteral("Edit10_10"));
        f.cell(10, 10).text = QStringLiteral("1");
        NyuuRyokuGo(f, f.ui);
        Hozon(f, f.ui);
        QVERIFY2(f.ui.boxes.last().text.startsWith(texts::Saved), qPrintable(f.ui.boxes.last().text));
        QTEST(readFile(f.path), "saved");
    }

    void headerOverTwoLines()
    {
        const Opened f("(;CA[shift_jis]AB[dd]\r\n[pp]SZ[19]MULTIGOGM[1]\r\n;W[aa])\r\n");
        QCOMPARE(f.firstMoveLine, 2);
        QCOMPARE(f.gameInfo, QByteArray("(;CA[shift_jis]AB[dd][pp]SZ[19]MULTIGOGM[1]"));
        QCOMPARE(boardText(f), QStringLiteral("1,1=1/w 4,4=B1/b 16,16=B2/b"));
        QCOMPARE(f.tailLine, 3);
        // No line after the tail line: nothing to keep.
        QVERIFY(f.sankouZu.isEmpty());
    }

    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("CR only") << header + "\r;B[aa];W[bb]\r;B[cc])\r";
        QTest::newRow("LF only") << header + "\n;B[aa];W[bb]\n;B[cc])";
        QTest::newRow("mixed") << header + "\r\n;B[aa];W[bb]\n;B[cc])\r";
        QTest::newRow("NUL after the moves") << header + "\r\n;B[aa];W[bb]\r\n;B[cc])" + QByteArray("\0\r\n;W[dd]", 9);
    }

    void lineEnds()
    {
        QFETCH(QByteArray, text);
        const Opened f(text);
        QCOMPARE(f.loadedLines.size(), 3);
        QCOMPARE(f.loadedLines[2], QByteArray(";B[cc])"));
        QCOMPARE(boardText(f), QStringLiteral("1,1=1/b 2,2=2/w 3,3=3/b"));
        QCOMPARE(f.tailLine, 3);
    }

    void withoutMarker_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("OK reads the file") << Answer::Ok;
        QTest::newRow("Cancel stops") << Answer::Cancel;
    }

    void withoutMarker()
    {
        QFETCH(Answer, answer);
        const QByteArray lowerHeader = "(;CA[shift_jis]AB[dd]SZ[19]AP[multigo]";
        const Opened f(lowerHeader + "\r\n;W[aa])\r\n", Answer::No, {answer});
        QCOMPARE(f.ui.boxes.size(), 2);
        QCOMPARE(f.ui.boxes[1].kind, BoxKind::Warning);
        QCOMPARE(f.ui.boxes[1].buttons, BoxButtons::OkCancel);
        QCOMPARE(f.ui.boxes[1].text, messages::notMultiGo().box);
        QCOMPARE(f.gameInfo, lowerHeader);
        QCOMPARE(f.firstMoveLine, 1);
        QCOMPARE(f.currentFileName, f.path);
        QCOMPARE(f.loadedLines.size(), 2);
        const QString opened = messages::openLine(QDir::toNativeSeparators(f.path)) + crlf;
        if (answer == Answer::Cancel) {
            QCOMPARE(boardText(f), QString());
            QCOMPARE(f.memo, opened);
            QCOMPARE(f.tailLine, 0);
            return;
        }
        QCOMPARE(boardText(f), QStringLiteral("1,1=1/w 4,4=B1/b"));
        QCOMPARE(f.memo, opened + messages::notMultiGo().log + crlf + messages::highestLoadedLine(1) + crlf);
    }

    void earlierMarksStay()
    {
        QTemporaryDir dir;
        const QString a = writeFile(dir.filePath(QStringLiteral("a.sgf")), header + "\r\n;B[aa];W[bb])\r\n");
        const QString b = writeFile(dir.filePath(QStringLiteral("b.sgf")), header + "\r\n;B[cc])\r\n");
        Form f;
        ScriptedUi ui;
        open(f, ui, a);
        open(f, ui, b);
        QCOMPARE(boardText(f), QStringLiteral("3,3=1/b"));
        QCOMPARE(f.cell(1, 1).tag, CellOrigin::LoadedMove);
        QVERIFY(f.cell(1, 1).enabled);
        QCOMPARE(f.loadedNodeCount, 1);
        QCOMPARE(f.memo, messages::openLine(QDir::toNativeSeparators(b)) + crlf + messages::highestLoadedLine(1) + crlf);
    }

    void emptyMoveLineLogsZero()
    {
        const Opened f(header + "\r\n;)\r\n");
        // A node without a move takes no number: a move typed next is move 1.
        QCOMPARE(f.loadedNodeCount, 0);
        QVERIFY(f.memo.endsWith(messages::highestLoadedLine(0) + crlf));
    }
};

QTEST_GUILESS_MAIN(TestOpen)
#include "tst_open.moc"
