#include "transcribe/readboard.h"
#include "board/cellname.h"
#include "board/form.h"
#include "board/go.h"
#include "board/lifecycle.h"
#include "board/messages.h"
#include "board/texts.h"
#include "diagram/diagram.h"
#include "entry/cellentry.h"
#include "entry/unsurepoints.h"
#include "support/boardtext.h"
#include "support/scriptedui.h"
#include "support/unsurepoints.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>

Q_DECLARE_METATYPE(diagram::Failure)

namespace {

const QString Source = QStringLiteral("/scans/page 12.png");

// Points as "x,y,read": a number, "B" for a handicap stone, "W" for a white stone whose number
// was not read; a trailing "?" marks the point unsure.
diagram::Board boardOf(const QStringList& points, int firstPlayer)
{
    diagram::Board board;
    board.firstPlayer = go::FirstPlayer(firstPlayer);
    for (const QString& point : points) {
        const QStringList parts = point.split(QLatin1Char(','));
        QString read = parts[2];
        diagram::Point& p = board.at(parts[0].toInt(), parts[1].toInt());
        p.unsure = read.endsWith(QLatin1Char('?'));
        read.remove(QLatin1Char('?'));
        // A label after the colour: "Wa" a white stone marked "a".
        if (read.size() == 2 && !read[1].isDigit()) {
            p.mark = char(read[1].toLatin1());
            read.chop(1);
        }
        p.stone = read == QLatin1String("W") ? diagram::Stone::White : diagram::Stone::Black;
        p.number = read.toInt();
        if (p.number > 0 && p.number % 2 == firstPlayer)
            p.stone = diagram::Stone::White;
    }
    return board;
}

QString colourName(Rgb rgb)
{
    if (rgb == colours::Black)
        return QStringLiteral("black");
    if (rgb == colours::White)
        return QStringLiteral("white");
    if (rgb == colours::Board || rgb == colours::Star)
        return QStringLiteral("empty");
    return QString::number(rgb, 16);
}

// Notes as "move,at", with "?" appended when unsure.
std::vector<diagram::Note> notesOf(const QStringList& notes)
{
    std::vector<diagram::Note> out;
    for (QString note : notes) {
        const bool unsure = note.endsWith(QLatin1Char('?'));
        note.remove(QLatin1Char('?'));
        const QString at = note.section(QLatin1Char(','), 1);
        const char mark = at.size() == 1 && at[0].isLetter() ? char(at[0].toLatin1()) : 0;
        out.push_back({note.section(QLatin1Char(','), 0, 0).toInt(), at.toInt(), unsure, mark, at == QLatin1String("pass")});
    }
    return out;
}

// Moves 1..n of a game, row by row from row 10, as "x,y,n".
QStringList gameOf(int moves)
{
    QStringList points;
    for (int k = 1; k <= moves; ++k)
        points << QStringLiteral("%1,%2,%3").arg((k - 1) % 19 + 1).arg(10 + (k - 1) / 19).arg(k);
    return points;
}

} // namespace

// A board read from a picture goes onto the record as if typed: boxes, cells, total, first
// player, log, missing numbers and focus.
class TestReadBoard : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void doubts_data();
    void doubts();
};

void TestReadBoard::reads_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<diagram::Failure>("failure");
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<int>("firstPlayer");
    QTest::addColumn<QStringList>("boxes");
    // "x,y,text,look" for the cells that matter.
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("total");
    QTest::addColumn<int>("radio");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QStringList>("focus");
    QTest::addColumn<QStringList>("notes");
    // The last move the caption of a whole game names, "(1-N)"; 0 for none.
    QTest::addColumn<int>("captionLast");

    const auto none = diagram::Failure::None;
    const QString confirm = QStringLiteral("現在編集中のデータを破棄して\r\n\r\n画像から棋譜を読み込みますか？");
    const QString listUp = QStringLiteral("総手数までで入力棋譜に無い手番をリストアップします！\r\n");
    const QString listDone = QStringLiteral("欠番手番確認終了！\r\n");
    const QStringList game{"4,4,1", "16,4,2", "4,16,3", "10,10,5"};
    // The log of a reading with this highest number, and the missing-number check after it.
    const auto logOf = [&](int highest) {
        return QStringLiteral("画像読込み　/scans/page 12.png  読込最大手数　%1手\r\n").arg(highest) + listUp + listDone;
    };

    QTest::newRow("empty record: no question")
        << QStringList() << false << none << game << 0 << QStringList()
        << QStringList{"4,4,1,black", "16,4,2,white", "4,16,3,black", "10,10,5,black", "16,16,,empty"} << "5" << 0
        << logOf(5) << QStringList{"4"} << QStringList{"StringGrid2"} << QStringList() << 0;
    QTest::newRow("occupied record, cancelled: nothing changes")
        << QStringList{"1,1,7"} << true << none << game << 0 << QStringList{confirm}
        << QStringList{"1,1,7,empty", "4,4,,empty"} << "7" << 0 << QStringLiteral("old\r\n") << QStringList{"9"}
        << QStringList() << QStringList() << 0;
    QTest::newRow("occupied record, confirmed: cleared first")
        << QStringList{"1,1,7"} << false << none << game << 0 << QStringList{confirm}
        << QStringList{"1,1,,empty", "4,4,1,black"} << "5" << 0
        << logOf(5) << QStringList{"4"} << QStringList{"StringGrid2"} << QStringList() << 0;
    QTest::newRow("duplicates and four digits: logged once, no box")
        << QStringList() << false << none << QStringList{"1,1,1", "3,4,25", "5,5,1000", "10,15,25"} << 0
        << QStringList() << QStringList{"3,4,25,black", "10,15,25,black", "5,5,1000,white"} << "1000" << 0
        << QStringLiteral("画像読込み　/scans/page 12.png  読込最大手数　1000手\r\n"
                          "横5縦5 入力値1000  入力された手番は桁数が多すぎます！\r\n"
                          "横3縦4入力値25　と　横10縦15入力値25　は重複しています！\r\n")
               + listUp + QStringLiteral("欠番が多すぎるため、498個の手番はリストに表示していません！\r\n") + listDone
        << QStringList{"2", "3"} << QStringList{"StringGrid2"} << QStringList() << 0;
    QTest::newRow("handicap stones: labelled in scan order, white first")
        << QStringList() << false << none << QStringList{"16,16,B", "16,4,B", "4,4,B", "10,10,1", "10,11,2"} << 1
        << QStringList() << QStringList{"4,4,B1,black", "16,4,B2,black", "16,16,B3,black", "10,10,1,white", "10,11,2,black"}
        << "2" << 1 << logOf(2) << QStringList() << QStringList() << QStringList() << 0;
    QTest::newRow("white first without handicap")
        << QStringList() << false << none << QStringList{"1,1,1", "2,1,2"} << 1 << QStringList()
        << QStringList{"1,1,1,white", "2,1,2,black"} << "2" << 1
        << logOf(2) << QStringList() << QStringList() << QStringList() << 0;
    // Labels are no numbers: a black one is no handicap stone, and a note that names one is
    // not typed, since the list names places by their numbers.
    QTest::newRow("labels: in doubt, and their note logged")
        << QStringList() << false << none << QStringList{"4,4,1", "16,4,2", "6,6,Ba", "7,7,Wb"} << 1 << QStringList()
        << QStringList{"6,6,,empty", "7,7,,empty"} << "3" << 1
        << QStringLiteral("画像読込み　/scans/page 12.png  読込最大手数　3手\r\n"
                          "横6縦6 読取り値  読取りが不確かです！確認して下さい。\r\n"
                          "横7縦7 読取り値  読取りが不確かです！確認して下さい。\r\n")
               + listUp + listDone
               + QStringLiteral("図の注記　3手 場所a  記号の石は手番が分からないので入力しませんでした！\r\n")
        << QStringList{"3"} << QStringList{"Edit6_6"} << QStringList{"3,a"} << 0;
    QTest::newRow("unsure points: logged in scan order, focus on the first")
        << QStringList() << false << none << QStringList{"3,3,57?", "2,5,W", "7,2,12?", "1,1,1"} << 0 << QStringList()
        << QStringList{"3,3,57,black", "2,5,,empty", "7,2,12,white"} << "57" << 0
        << QStringLiteral("画像読込み　/scans/page 12.png  読込最大手数　57手\r\n"
                          "横7縦2 読取り値12  読取りが不確かです！確認して下さい。\r\n"
                          "横3縦3 読取り値57  読取りが不確かです！確認して下さい。\r\n"
                          "横2縦5 読取り値  読取りが不確かです！確認して下さい。\r\n")
               + listUp + listDone
        << QStringList{"2", "3"} << QStringList{"Edit7_2"} << QStringList() << 0;
    QTest::newRow("no board: error box and log line only")
        << QStringList{"1,1,7"} << false << diagram::Failure::NoBoard << game << 0
        << QStringList{QStringLiteral("画像から棋譜を読み込めません！\r\n\r\n  /scans/page 12.png\r\n\r\n  理由: 碁盤が見つかりません")}
        << QStringList{"1,1,7,empty", "4,4,,empty"} << "7" << 0
        << QStringLiteral("old\r\n画像読込み失敗  /scans/page 12.png  理由: 碁盤が見つかりません\r\n") << QStringList{"9"}
        << QStringList() << QStringList() << 0;

    // Black 1 and 3 take white 2 in the corner; the notes say where the moves on taken points went.
    const QStringList corner{"2,1,1", "1,1,2", "1,2,3", "10,10,4"};
    QTest::newRow("notes: sure ones placed, the others logged")
        << QStringList() << false << none << (corner + QStringList{"10,11,6"}) << 0 << QStringList()
        << QStringList{"1,1,2,white"} << "6" << 0
        << logOf(6)
               + QStringLiteral("ﾘｽﾄﾎﾞｯｸｽ手番5 場所2  図の注記から入力しました！\r\n"
                                "図の注記　7手 場所3  読取りが不確かなので入力しませんでした！\r\n"
                                "図の注記　9手 場所1  欠番の手番ではないので入力しませんでした！\r\n")
        << QStringList{"5=2"} << QStringList{"StringGrid2"} << QStringList{"5,2", "7,3?", "9,1"} << 0;
    QTest::newRow("notes: a last move played on a taken point counts in the total")
        << QStringList() << false << none << corner << 0 << QStringList() << QStringList{"1,1,2,white"} << "5" << 0
        << logOf(5) + QStringLiteral("ﾘｽﾄﾎﾞｯｸｽ手番5 場所2  図の注記から入力しました！\r\n")
        << QStringList{"5=2"} << QStringList{"StringGrid2"} << QStringList{"5,2"} << 0;
    QTest::newRow("notes: a place the rules of Go forbid is not used, and the rules fill it")
        << QStringList() << false << none << corner << 0 << QStringList() << QStringList{"1,1,2,white"} << "5" << 0
        << logOf(5) + QStringLiteral("図の注記　5手 場所4  ルール上その場所には打てないので入力しませんでした！\r\n")
        << QStringList{"5=2"} << QStringList{"StringGrid2"} << QStringList{"5,4"} << 0;
    QTest::newRow("notes: a pass takes its number, and no row")
        << QStringList() << false << none << corner << 0 << QStringList() << QStringList{"1,1,2,white"} << "5" << 0
        << logOf(5) + QStringLiteral("図の注記　5手 場所パス  図の注記から入力しました！\r\n")
        << QStringList() << QStringList() << QStringList{"5,pass"} << 0;
    QTest::newRow("caption: names a last move the board leaves open")
        << QStringList() << false << none << corner << 0 << QStringList() << QStringList{"1,1,2,white"} << "5" << 0
        << logOf(5) << QStringList{"5=2"} << QStringList{"StringGrid2"} << QStringList() << 5;
    QTest::newRow("caption: far past the board, misread")
        << QStringList() << false << none << corner << 0 << QStringList() << QStringList{"1,1,2,white"} << "4" << 0
        << logOf(4) << QStringList() << QStringList() << QStringList() << 30;
}

void TestReadBoard::reads()
{
    QFETCH(QStringList, before);
    QFETCH(bool, cancel);
    QFETCH(diagram::Failure, failure);
    QFETCH(QStringList, points);
    QFETCH(int, firstPlayer);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, cells);
    QFETCH(QString, log);
    QFETCH(QStringList, missing);
    QFETCH(QStringList, notes);
    QFETCH(int, captionLast);

    Form f;
    FormCreate(f);
    putCells(f, before);
    if (!before.isEmpty()) {
        f.souTesuu = QStringLiteral("7");
        f.stringGrid2.at(0, 1) = QStringLiteral("9");
        f.logLine(QStringLiteral("old"));
    }
    ScriptedUi ui;
    if (cancel)
        ui.answers << Answer::Cancel;
    diagram::Result result;
    result.failure = failure;
    result.board = boardOf(points, firstPlayer);
    result.notes = notesOf(notes);
    result.captionFirst = captionLast > 0 ? 1 : 0;
    result.captionLast = captionLast;

    readBoard(f, ui, result, Source);

    QStringList shownBoxes;
    for (const ScriptedUi::Box& b : ui.boxes)
        shownBoxes << b.text;
    QCOMPARE(shownBoxes, boxes);
    if (!boxes.isEmpty()) {
        QCOMPARE(ui.boxes.first().kind, failure == diagram::Failure::None ? BoxKind::Confirm : BoxKind::Error);
        QCOMPARE(ui.boxes.first().buttons, failure == diagram::Failure::None ? BoxButtons::OkCancel : BoxButtons::Ok);
    }
    for (const QString& expected : cells) {
        const QStringList parts = expected.split(QLatin1Char(','));
        const Cell& c = f.cell(parts[0].toInt(), parts[1].toInt());
        QCOMPARE(c.text + QLatin1Char(',') + colourName(c.background), parts[2] + QLatin1Char(',') + parts[3]);
        QVERIFY(c.enabled);
    }
    QTEST(f.souTesuu, "total");
    QTEST(int(f.radioGroup1), "radio");
    QCOMPARE(f.memo.left(log.size()), log);
    // Once a board is on the record, the rules of Go look for the places of the listed moves.
    const bool placed = failure == diagram::Failure::None && !cancel;
    QCOMPARE(f.memo.mid(log.size()).startsWith(texts::CandidateStart), placed);
    QCOMPARE(f.memo.endsWith(texts::CandidateDone + QStringLiteral("\r\n")), placed);
    // "move" or, once placed, "move=place".
    QStringList listed;
    for (int r = 1; r <= MoveList::LastRow && !f.stringGrid2.at(0, r).isEmpty(); ++r)
        listed << f.stringGrid2.at(0, r) + (f.stringGrid2.at(1, r).isEmpty() ? QString() : QLatin1Char('=') + f.stringGrid2.at(1, r));
    QCOMPARE(listed.mid(0, missing.size()), missing);
    QTEST(ui.focusRequests, "focus");
}

void TestReadBoard::doubts_data()
{
    QTest::addColumn<bool>("read");          // false: typed, no picture
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<int>("firstPlayer");
    // "x,y=text" typed into a cell and left, "x,y enter" left with Enter as it is, "x,y pass"
    // left by an arrow as it is, "total=n" typed into the total, "next" the key to the next doubt.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QStringList>("unsure");
    QTest::addColumn<int>("labels");         // handicap labels on the board
    QTest::addColumn<QStringList>("focus");

    const QStringList high = gameOf(30) + QStringList{"5,5,242"};
    QTest::newRow("misread high number: in doubt, not the total")
        << true << high << 0 << QStringList() << "30" << QStringList{"5,5"} << 0 << QStringList{"Edit5_5"};
    QTest::newRow("several high numbers after a gap: all in doubt")
        << true << (high + QStringList{"6,6,977", "7,7,655"}) << 0 << QStringList() << "30"
        << QStringList{"5,5", "6,6", "7,7"} << 0 << QStringList{"Edit5_5"};
    QTest::newRow("corrected: no longer in doubt, the total follows")
        << true << high << 0 << QStringList{"5,5=31"} << "31" << QStringList() << 0 << QStringList{"Edit5_5"};
    QTest::newRow("a total the operator typed stays")
        << true << high << 0 << QStringList{"total=40", "5,5=31"} << "40" << QStringList() << 0 << QStringList{"Edit5_5"};
    QTest::newRow("left by an arrow as it is: still in doubt")
        << true << high << 0 << QStringList{"5,5 pass"} << "30" << QStringList{"5,5"} << 0 << QStringList{"Edit5_5"};
    QTest::newRow("left with Enter as it is: looked at, the total stays")
        << true << high << 0 << QStringList{"5,5 enter"} << "30" << QStringList() << 0 << QStringList{"Edit5_5"};
    QTest::newRow("a close high number is the total")
        << true << (gameOf(30) + QStringList{"5,5,45"}) << 0 << QStringList() << "45" << QStringList() << 0
        << QStringList{"StringGrid2"};
    QTest::newRow("black stones without numbers in a game black began: in doubt, no labels")
        << true << (gameOf(12) + QStringList{"3,3,B", "15,3,B"}) << 0 << QStringList() << "12"
        << QStringList{"3,3", "15,3"} << 0 << QStringList{"Edit3_3"};
    QTest::newRow("handicap stones of a game white began: labels")
        << true << (gameOf(12) + QStringList{"4,4,B", "16,4,B"}) << 1 << QStringList() << "12" << QStringList() << 2
        << QStringList();
    QStringList ten = gameOf(12);
    for (int x = 1; x <= 10; ++x)
        ten << QStringLiteral("%1,2,B").arg(x);
    QTest::newRow("ten stones without numbers are no handicap")
        << true << ten << 1 << QStringList() << "12"
        << QStringList{"1,2", "2,2", "3,2", "4,2", "5,2", "6,2", "7,2", "8,2", "9,2", "10,2"} << 0 << QStringList{"Edit1_2"};
    QTest::newRow("the key goes round the points in doubt")
        << true << (gameOf(12) + QStringList{"7,1,14?", "2,2,W"}) << 0 << QStringList{"next", "next", "2,2=13", "next"}
        << "14" << QStringList{"7,1"} << 0 << QStringList{"Edit7_1", "Edit2_2", "Edit7_1", "Edit7_1"};
    QTest::newRow("a duplicate pair in doubt is one line")
        << true << (gameOf(12) + QStringList{"7,10,7?", "5,5,7?"}) << 0 << QStringList() << "12"
        << QStringList{"5,5", "7,10"} << 0 << QStringList{"Edit5_5"};
    QTest::newRow("typed record: nothing is in doubt and the total stays")
        << false << QStringList() << 0 << QStringList{"1,1=1", "2,1=2", "3,1=300", "3,1 enter", "next"} << "7"
        << QStringList() << 0 << QStringList();
}

// After a reading: which points are in doubt, how they stop being so, the total the board
// supports, handicap labels only where a game can have them, each point named by one log line.
void TestReadBoard::doubts()
{
    QFETCH(bool, read);
    QFETCH(QStringList, points);
    QFETCH(int, firstPlayer);
    QFETCH(QStringList, steps);
    QFETCH(QString, total);
    QFETCH(QStringList, focus);

    Form f;
    FormCreate(f);
    ScriptedUi ui;
    if (read) {
        diagram::Result result;
        result.board = boardOf(points, firstPlayer);
        readBoard(f, ui, result, Source);
    } else {
        f.souTesuu = QStringLiteral("7");
    }
    const int readingEnds = int(f.memo.indexOf(texts::MissingListUp));
    const QString readingLog = readingEnds < 0 ? f.memo : f.memo.left(readingEnds);
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const QRegularExpression name(QRegularExpression::escape(messages::pointName(x, y)) + QStringLiteral("(?!\\d)"));
            QVERIFY2(readingLog.count(name) <= 1, qPrintable(readingLog));
        }
    }

    // As the window does: the cell in focus is left before another is entered.
    auto enter = [&](const QString& name) {
        if (cellOfName(f.controlMei) && f.controlMei != name)
            NyuuRyokuGo(f, ui);
        Derutoki(f, name);
    };
    if (!ui.focusRequests.isEmpty() && cellOfName(ui.focusRequests.last()))
        enter(ui.focusRequests.last());
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("total="))) {
            f.souTesuu = step.mid(6);
        } else if (step == QLatin1String("next")) {
            const qsizetype asked = ui.focusRequests.size();
            nextUnsurePoint(f, ui);
            if (ui.focusRequests.size() > asked)
                enter(ui.focusRequests.last());
        } else {
            const QString at = step.section(QRegularExpression(QStringLiteral("[= ]")), 0, 0);
            const QString name = cellName(at.section(QLatin1Char(','), 0, 0).toInt(), at.section(QLatin1Char(','), 1).toInt());
            enter(name);
            if (step.contains(QLatin1Char('=')))
                f.cellNamed(name)->text = step.section(QLatin1Char('='), 1);
            if (step.endsWith(QLatin1String(" enter")))
                Edit_KeyPress(f, ui, QChar(13));
            NyuuRyokuGo(f, ui);
        }
    }
    QCOMPARE(f.souTesuu, total);
    QTEST(unsureOf(f), "unsure");
    QTEST(int(std::count_if(f.cells.begin(), f.cells.end(), [](const Cell& c) { return c.text.startsWith(QLatin1Char('B')); })),
          "labels");
    QCOMPARE(ui.focusRequests, focus);
}

QTEST_APPLESS_MAIN(TestReadBoard)
#include "tst_readboard.moc"
