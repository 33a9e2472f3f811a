#include "board/buildkind.h"
#include "board/cellname.h"
#include "board/colours.h"
#include "board/form.h"
#include "board/lifecycle.h"
#include "board/messages.h"
#include "board/texts.h"
#include "checks/search.h"
#include "support/scriptedui.h"

#include <QTest>

namespace {

const QString Crlf = QStringLiteral("\r\n");

QString foundLine(const QString& target, int x, int y)
{
    return messages::searchFoundLine(target, x, y) + Crlf;
}

QString notFoundLine(const QString& target)
{
    return messages::searchNotFoundLine(target) + Crlf;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        f = Form();
        FormCreate(f);
        ui = ScriptedUi();
    }

    void findsTheLastCellHoldingTheText_data()
    {
        QTest::addColumn<QStringList>("places");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<bool>("locked");
        const auto row = [](const char* name, const QStringList& places, const QString& target, int x, int y) {
            QTest::newRow(name) << places << target << x << y << QString() << false;
        };

        row("once", {"Edit4_16=57"}, "57", 4, 16);
        row("in two rows", {"Edit10_2=5", "Edit3_5=5"}, "5", 3, 5);
        row("twice in a row", {"Edit12_5=5", "Edit3_5=5"}, "5", 12, 5);
        row("corner", {"Edit19_19=300"}, "300", 19, 19);
        row("negative number", {"Edit2_2=-4"}, "-4", 2, 2);
        row("leading zero", {"Edit1_1=5"}, "05", 0, 0);
        row("leading blank", {"Edit1_1=5"}, " 5", 0, 0);
        row("plus sign", {"Edit1_1=5"}, "+5", 0, 0);
        row("hexadecimal", {"Edit1_1=16"}, "$10", 0, 0);
        row("zero", {"Edit1_1=5"}, "0", 0, 0);
        row("no text but the number", {"Edit1_1=57", "Edit1_2=157"}, "5", 0, 0);
        QTest::newRow("offset not applied") << QStringList{"Edit6_6=105", "Edit7_7=5"} << "5" << 7 << 7 << "100" << false;
        // Logged, but the focus cannot go there.
        QTest::newRow("locked cell") << QStringList{"Edit8_3=21"} << "21" << 8 << 3 << "" << true;
    }

    void findsTheLastCellHoldingTheText()
    {
        QFETCH(QStringList, places);
        QFETCH(QString, target);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QString, offset);
        QFETCH(bool, locked);
        for (const QString& place : places) {
            const QStringList parts = place.split(QLatin1Char('='));
            f.cellNamed(parts[0])->text = parts[1];
            f.cellNamed(parts[0])->enabled = !locked;
        }
        f.txtPuls = offset;
        f.txtKensaku = target;
        cmdKensakuClick(f, ui);

        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, BoxKind::Information);
        QCOMPARE(ui.boxes[0].buttons, BoxButtons::OkCancel);
        QCOMPARE(ui.boxes[0].text, messages::searchBox(target, true));
        if (x == 0) {
            QCOMPARE(f.memo, notFoundLine(target));
            QVERIFY(ui.focusRequests.isEmpty());
            return;
        }
        QCOMPARE(f.memo, foundLine(target, x, y));
        QCOMPARE(ui.focusRequests, locked ? QStringList() : QStringList{cellName(x, y)});
        // The highlight is the window's enter handling, not the search's.
        QVERIFY(f.cell(x, y).background != colours::Focus);
    }

    void silentWithoutANumber_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("empty") << "";
        QTest::newRow("handicap label") << "B1";
        QTest::newRow("letters") << "abc";
        QTest::newRow("trailing blank") << "5 ";
        QTest::newRow("full-width digit") << "５";
    }

    void silentWithoutANumber()
    {
        QFETCH(QString, target);
        f.cell(1, 1).text = target;
        f.txtKensaku = target;
        cmdKensakuClick(f, ui);
        QVERIFY(ui.boxes.isEmpty());
        QVERIFY(f.memo.isEmpty());
        QVERIFY(ui.focusRequests.isEmpty());
    }

    void cancelEndsTheSearch()
    {
        f.cell(1, 1).text = QStringLiteral("5");
        f.txtKensaku = QStringLiteral("5");
        ui.answers << Answer::Cancel;
        cmdKensakuClick(f, ui);
        QCOMPARE(ui.boxes.size(), 1);
        QVERIFY(f.memo.isEmpty());
        QVERIFY(ui.focusRequests.isEmpty());
    }

    void logIsAppendedTo()
    {
        f.cell(8, 3).text = QStringLiteral("21");
        f.txtKensaku = QStringLiteral("21");
        cmdKensakuClick(f, ui);
        f.txtKensaku = QStringLiteral("22");
        cmdKensakuClick(f, ui);
        QCOMPARE(f.memo, foundLine(QStringLiteral("21"), 8, 3) + notFoundLine(QStringLiteral("22")));
    }

    void smallScreenBoxStopsAfterTheNumber()
    {
        Form small(BuildKind::smallScreen());
        FormCreate(small);
        small.cell(4, 16).text = QStringLiteral("57");
        small.txtKensaku = QStringLiteral("57");
        cmdKensakuClick(small, ui);
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].text, messages::searchBox(QStringLiteral("57"), false));
        QVERIFY(!ui.boxes[0].text.contains(texts::SearchResultHint));
        QCOMPARE(small.memo, foundLine(QStringLiteral("57"), 4, 16));
        QCOMPARE(ui.focusRequests, QStringList{QStringLiteral("Edit4_16")});
    }

private:
    Form f;
    ScriptedUi ui;
};

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
