#include "board/colours.h"
#include "board/form.h"
#include "board/texts.h"
#include "sgf/lock.h"
#include "sgf/open.h"
#include "support/folders.h"
#include "support/scriptedui.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString crlf = QStringLiteral("\r\n");

// Handicap stones at dd and pp; moves 1 (white, pd) and 2 (black, dp); move 3 on move 1's point.
const QByteArray gameA = "(;CA[shift_jis]AB[dd][pp]SZ[19]MULTIGOGM[1]\r\n;W[pd];B[dp];W[pd])\r\n";

void open(Form& f, const QString& path, Answer mode)
{
    ScriptedUi ui;
    ui.answers = {mode};
    ui.openPaths = {path};
    FileHiraku(f, ui);
}

// What the window does on a click: flip the toggle, then run the handler.
void click(Form& f)
{
    f.lockPressed = !f.lockPressed;
    cmdLockKaizyo2Click(f);
}

} // namespace

class TestLock : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString pathA;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        pathA = writeFile(dir.filePath(QStringLiteral("a.sgf")), gameA);
    }

    void releaseThenLock()
    {
        Form f;
        open(f, pathA, Answer::No);
        QVERIFY(f.lockShown);
        QVERIFY(f.lockPressed);
        // Right after the open the list is still as the window made it.
        QVERIFY(f.stringGrid1.enabled);
        QCOMPARE(f.stringGrid1.background, colours::LockedList);
        QString log = f.memo;

        // Released, then locked again: the loaded moves keep their colours and text throughout.
        for (const bool locked : {false, true}) {
            click(f);
            log += (locked ? texts::LockCaption : texts::Unlocked) + crlf;
            QCOMPARE(f.lockPressed, locked);
            for (const auto& [x, y, colour] : {std::tuple{16, 4, colours::Black}, {4, 16, colours::White}}) {
                QCOMPARE(f.cell(x, y).enabled, !locked);
                QCOMPARE(f.cell(x, y).textColour, colour);
            }
            QCOMPARE(f.cell(16, 4).text, QStringLiteral("1"));
            QCOMPARE(f.cell(16, 4).background, colours::White);
            QCOMPARE(f.cell(10, 10).background, colours::Board);
            QCOMPARE(f.cell(1, 1).background, colours::Board);
            QVERIFY(f.cell(10, 10).enabled);
            QCOMPARE(f.stringGrid1.enabled, !locked);
            QCOMPARE(f.stringGrid1.background, locked ? colours::LockedList : colours::White);
            QCOMPARE(f.memo, log);
        }
    }

    void handicapStonesStayLocked()
    {
        Form f;
        open(f, pathA, Answer::No);
        for (int i = 0; i < 3; ++i) {
            click(f);
            for (const auto& [x, y, label] : {std::tuple{4, 4, "B1"}, {16, 16, "B2"}}) {
                const Cell& c = f.cell(x, y);
                QCOMPARE(c.text, QString::fromLatin1(label));
                QVERIFY(!c.enabled);
                QCOMPARE(c.background, colours::Black);
            }
        }
    }

    void keepModeStaysLocked()
    {
        Form f;
        open(f, pathA, Answer::Yes);
        QVERIFY(!f.lockShown);
        QVERIFY(!f.cell(16, 4).enabled);
        QVERIFY(f.stringGrid1.enabled);
        QCOMPARE(f.stringGrid1.at(1, 1), QStringLiteral("1"));
    }

    // Locking again follows the mark and the text now in the cell, not what the file held.
    void lockFollowsMarkAndText()
    {
        QTemporaryDir local;
        const QString pathB = writeFile(local.filePath(QStringLiteral("b.sgf")),
                                        "(;CA[shift_jis]SZ[19]MULTIGOGM[1]\r\n;B[aa];W[bb])\r\n");
        Form f;
        open(f, pathA, Answer::No);
        open(f, pathB, Answer::No);
        QVERIFY(f.cell(16, 4).text.isEmpty());
        QCOMPARE(f.cell(16, 4).tag, CellOrigin::LoadedMove);
        QCOMPARE(f.cell(4, 4).tag, CellOrigin::LoadedHandicap);
        click(f);
        f.cell(16, 4).text = QStringLiteral("7");  // a cell of the earlier file, now typed into
        f.cell(1, 1).text = QStringLiteral("9");   // a loaded move retyped
        f.cell(2, 2).text.clear();                 // a loaded move emptied
        f.cell(5, 5).text = QStringLiteral("3");   // an ordinary typed move
        f.cell(4, 4).text.clear();                 // an old handicap mark, now empty
        click(f);
        for (const auto& [x, y, enabled] : {std::tuple{16, 4, false}, {1, 1, false}, {2, 2, true}, {5, 5, true}, {4, 4, true}})
            QCOMPARE(f.cell(x, y).enabled, enabled);
        QCOMPARE(f.cell(1, 1).text, QStringLiteral("9"));
    }

    void releaseLeavesTypedCellsAlone()
    {
        Form f;
        f.cell(3, 3).text = QStringLiteral("5");
        f.cell(3, 3).background = colours::Black;
        f.cell(3, 3).textColour = colours::Black;
        f.cell(3, 3).enabled = false;
        f.lockPressed = true;
        click(f);
        const Cell& c = f.cell(3, 3);
        QVERIFY(!c.enabled);
        QCOMPARE(c.textColour, colours::Black);
        QCOMPARE(c.text, QStringLiteral("5"));
    }
};

QTEST_GUILESS_MAIN(TestLock)
#include "tst_lock.moc"
