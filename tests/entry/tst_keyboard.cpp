#include "board/cellname.h"
#include "board/form.h"
#include "entry/keyboard.h"
#include "support/scriptedui.h"

#include <QTest>

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        f = Form();
        ui = ScriptedUi();
    }

    // An arrow moves to the next enabled cell of its line, round the board's edge.
    void arrows_data()
    {
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");

        const QStringList none;
        QTest::newRow("right") << none << "Edit10_10" << vk::Right << "Edit11_10";
        QTest::newRow("left") << none << "Edit10_10" << vk::Left << "Edit9_10";
        QTest::newRow("up") << none << "Edit10_10" << vk::Up << "Edit10_9";
        QTest::newRow("down") << none << "Edit10_10" << vk::Down << "Edit10_11";
        QTest::newRow("right edge") << none << "Edit19_5" << vk::Right << "Edit1_5";
        QTest::newRow("left edge") << none << "Edit1_5" << vk::Left << "Edit19_5";
        QTest::newRow("bottom edge") << none << "Edit7_19" << vk::Down << "Edit7_1";
        QTest::newRow("top edge") << none << "Edit7_1" << vk::Up << "Edit7_19";
        QTest::newRow("corner right") << none << "Edit19_19" << vk::Right << "Edit1_19";
        QTest::newRow("corner down") << none << "Edit19_19" << vk::Down << "Edit19_1";
        QTest::newRow("two-digit row") << none << "Edit3_12" << vk::Right << "Edit4_12";
        QTest::newRow("two-digit column") << none << "Edit12_3" << vk::Up << "Edit12_2";
        QTest::newRow("right over two") << QStringList{"Edit2_3", "Edit3_3"} << "Edit1_3" << vk::Right << "Edit4_3";
        QTest::newRow("left over the edge") << QStringList{"Edit1_3", "Edit19_3"} << "Edit2_3" << vk::Left
                                            << "Edit18_3";
        QTest::newRow("down over one") << QStringList{"Edit5_2"} << "Edit5_1" << vk::Down << "Edit5_3";
        QTest::newRow("up over the edge") << QStringList{"Edit5_19"} << "Edit5_1" << vk::Up << "Edit5_18";
        QTest::newRow("other line's cells count not") << QStringList{"Edit2_4", "Edit2_2"} << "Edit1_3"
                                                      << vk::Right << "Edit2_3";
        QStringList column;
        for (int y = 7; y != 5; y = y % 19 + 1)
            column << cellName(6, y);
        QTest::newRow("round the column to the one free cell") << column << "Edit6_6" << vk::Down << "Edit6_5";
        // No request at all when the rest of the line is disabled.
        QStringList line;
        for (int x = 1; x <= 19; ++x) {
            if (x != 7)
                line << cellName(x, 3);
        }
        QTest::newRow("line of disabled cells, right") << line << "Edit7_3" << vk::Right << "";
        QTest::newRow("line of disabled cells, left") << line << "Edit7_3" << vk::Left << "";
        QTest::newRow("line of disabled cells, the column free") << line << "Edit7_3" << vk::Down << "Edit7_4";
    }

    void arrows()
    {
        QFETCH(QStringList, disabled);
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        for (const QString& name : disabled)
            f.cellNamed(name)->enabled = false;
        EditKeyDown(f, ui, from, key, false);
        QCOMPARE(ui.focusRequests, to.isEmpty() ? QStringList() : QStringList{to});
        QCOMPARE(ui.focusNextCount, 0);
    }

    void modifiersAndOtherKeysDoNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("modifiers");

        QTest::newRow("shift or ctrl with right") << vk::Right << true;
        QTest::newRow("modifier with left") << vk::Left << true;
        QTest::newRow("modifier with up") << vk::Up << true;
        QTest::newRow("modifier with down") << vk::Down << true;
        QTest::newRow("enter") << vk::Return << false;
        QTest::newRow("tab") << 9 << false;
        QTest::newRow("letter") << int('A') << false;
        QTest::newRow("page down") << 34 << false;
    }

    void modifiersAndOtherKeysDoNothing()
    {
        QFETCH(int, key);
        QFETCH(bool, modifiers);
        EditKeyDown(f, ui, QStringLiteral("Edit10_10"), key, modifiers);
        QVERIFY(ui.focusRequests.isEmpty());
        QCOMPARE(ui.focusNextCount, 0);
    }

    void enterMovesListRowDown_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("modifiers");
        QTest::addColumn<int>("expected");

        QTest::newRow("list 2, row 3") << 2 << 3 << vk::Return << false << 4;
        QTest::newRow("list 1, row 3") << 1 << 3 << vk::Return << false << 4;
        QTest::newRow("list 2, next to last") << 2 << 498 << vk::Return << false << 499;
        QTest::newRow("list 2, last row") << 2 << 499 << vk::Return << false << 499;
        QTest::newRow("list 1, last row") << 1 << 499 << vk::Return << false << 499;
        QTest::newRow("shift enter") << 2 << 3 << vk::Return << true << 3;
        QTest::newRow("list 1, shift enter") << 1 << 3 << vk::Return << true << 3;
        QTest::newRow("down arrow is the grid's own") << 2 << 3 << vk::Down << false << 3;
    }

    void enterMovesListRowDown()
    {
        QFETCH(int, list);
        QFETCH(int, row);
        QFETCH(int, key);
        QFETCH(bool, modifiers);
        MoveList& own = list == 1 ? f.stringGrid1 : f.stringGrid2;
        const MoveList& other = list == 1 ? f.stringGrid2 : f.stringGrid1;
        own.currentRow = row;
        own.currentColumn = 1;
        if (list == 1)
            StringGrid1KeyDown(f, key, modifiers);
        else
            StringGrid2KeyDown(f, key, modifiers);
        QTEST(own.currentRow, "expected");
        QCOMPARE(own.currentColumn, 1);
        QCOMPARE(other.currentRow, 1);
    }

private:
    Form f;
    ScriptedUi ui;
};

QTEST_APPLESS_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
