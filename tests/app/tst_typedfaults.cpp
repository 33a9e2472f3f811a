// Whatever the operator types into the window's text controls: very long text, control
// characters, emoji, full-width and half-width forms, numbers past the 32-bit range. Each is
// dealt with as the record's rules say, with the conversion error box where a command cannot
// read a number, and the window goes on working.

#include "app/tform1.h"
#include "board/cellname.h"
#include "board/colours.h"
#include "board/messages.h"
#include "board/texts.h"
#include "support/folders.h"
#include "support/scriptedui.h"
#include "support/listview.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// How a text reaches the control: key by key, committed by an input method (as Japanese and
// emoji are typed), or put there whole (as a paste does, control characters included).
enum class Typing { Keys, InputMethod, Paste };
Q_DECLARE_METATYPE(Typing)

namespace {

const QString crlf = QStringLiteral("\r\n");
// Longer than a line edit holds.
const QString longDigits(40000, QLatin1Char('9'));
const QString emoji = QStringLiteral("\U0001F600");

QLineEdit* edit(TForm1& w, const char* name)
{
    return qobject_cast<QLineEdit*>(w.control(QLatin1String(name)));
}

void focus(QWidget* w)
{
    w->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), w);
}

void type(QWidget* target, const QString& text, Typing how)
{
    switch (how) {
    case Typing::Keys:
        QTest::keyClicks(target, text);
        return;
    case Typing::InputMethod: {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(target, &event);
        return;
    }
    case Typing::Paste:
        if (auto* line = qobject_cast<QLineEdit*>(target))
            line->insert(text);
        return;
    }
}

// The window with its own scripted boxes, shown and active.
struct Window {
    ScriptedUi ui;
    TForm1 w{BuildKind::standard(), &ui};

    Window()
    {
        w.show();
        if (!QTest::qWaitForWindowActive(&w))
            qFatal("the window did not become active");
    }

    void click(const char* name) { QTest::mouseClick(w.control(QLatin1String(name)), Qt::LeftButton); }

    // Types into a cell and leaves it by Tab.
    void typeCell(int x, int y, const QString& text, Typing how)
    {
        QLineEdit* c = w.cell(x, y);
        focus(c);
        c->selectAll();
        type(c, text, how);
        QTest::keyClick(c, Qt::Key_Tab);
        QTRY_VERIFY(QApplication::focusWidget() != c);
    }
};

} // namespace

class TestTypedFaults : public QObject {
    Q_OBJECT

private slots:
    // A cell keeps a number (plus the offset), a handicap label, or nothing; only the digit
    // warning speaks, for a number above 999.
    void cell_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Typing>("how");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Rgb>("background");
        QTest::addColumn<int>("warnings");
        const Rgb board = colours::Board;
        const Rgb black = colours::Black;
        const Rgb white = colours::White;
        QTest::newRow("very long number") << longDigits << Typing::Paste << "" << "" << board << 0;
        const QString longLabel = QLatin1Char('B') + longDigits;
        QTest::newRow("very long label") << longLabel << Typing::Paste << "" << longLabel.left(32767) << black << 0;
        QTest::newRow("tab before digits") << "\t12" << Typing::Paste << "" << "" << board << 0;
        QTest::newRow("control character after digits") << "12\x01" << Typing::Paste << "" << "" << board << 0;
        QTest::newRow("NUL between digits") << QString::fromUtf8("1\0" "2", 3) << Typing::Paste << "" << "" << board << 0;
        QTest::newRow("blank before digits") << " 12" << Typing::Keys << "" << "12" << white << 0;
        QTest::newRow("emoji") << emoji << Typing::InputMethod << "" << "" << board << 0;
        QTest::newRow("label with emoji") << QLatin1Char('B') + emoji << Typing::InputMethod << "" << "B" + emoji << black << 0;
        QTest::newRow("full-width digits") << "１２" << Typing::InputMethod << "" << "12" << white << 0;
        QTest::newRow("full-width b") << "ｂ" << Typing::InputMethod << "" << "B1" << black << 0;
        QTest::newRow("full-width minus") << "－５" << Typing::InputMethod << "" << "-5" << white << 0;
        QTest::newRow("half-width katakana") << "ｶﾞ" << Typing::InputMethod << "" << "" << board << 0;
        QTest::newRow("largest 32-bit number") << "2147483647" << Typing::Keys << "" << "2147483647" << black << 1;
        QTest::newRow("one past the 32-bit range") << "2147483648" << Typing::Keys << "" << "" << board << 0;
        QTest::newRow("below the 32-bit range") << "-2147483649" << Typing::Keys << "" << "" << board << 0;
        QTest::newRow("twenty digits") << "99999999999999999999" << Typing::Keys << "" << "" << board << 0;
        QTest::newRow("offset beyond the range") << "2147483647" << Typing::Keys << "1" << "2147483647" << black << 1;
        QTest::newRow("offset below the range") << "-2147483648" << Typing::Keys << "-1" << "-2147483648" << white << 1;
    }

    void cell()
    {
        QFETCH(QString, typed);
        QFETCH(Typing, how);
        QFETCH(QString, offset);
        QFETCH(QString, stored);
        QFETCH(int, warnings);
        Window s;
        edit(s.w, "txtPuls")->setText(offset);
        s.typeCell(5, 6, typed, how);

        const Cell& c = s.w.form().cell(5, 6);
        QCOMPARE(c.text, stored);
        QCOMPARE(s.w.cell(5, 6)->text(), stored);
        QTEST(c.background, "background");
        QCOMPARE(s.ui.boxes.size(), warnings);
        for (const ScriptedUi::Box& b : s.ui.boxes)
            QVERIFY(b.text.startsWith(texts::DigitsBox) && b.text.endsWith(texts::Te));
        // The next cell took the focus and was highlighted: the window goes on.
        QCOMPARE(s.w.form().controlMei, cellName(6, 6));
    }

    // The missing-number check reads the total as it stands: what is no 32-bit integer ends it
    // with the conversion error box, captioned with the application's title.
    void total_data()
    {
        QTest::addColumn<QString>("total");
        QTest::addColumn<Typing>("how");
        QTest::addColumn<QString>("firstListed");
        QTest::newRow("one past the 32-bit range") << "2147483648" << Typing::Keys << "";
        QTest::newRow("full-width digits") << "１２" << Typing::InputMethod << "";
        QTest::newRow("emoji") << emoji << Typing::InputMethod << "";
        QTest::newRow("tab before digits") << "\t12" << Typing::Paste << "";
        QTest::newRow("ideographic space") << "　" << Typing::InputMethod << "";
        QTest::newRow("very long number") << longDigits << Typing::Paste << "";
        QTest::newRow("largest 32-bit number") << "2147483647" << Typing::Keys << "1";
        QTest::newRow("smallest 32-bit number") << "-2147483648" << Typing::Keys << "-";
    }

    void total()
    {
        QFETCH(QString, total);
        QFETCH(Typing, how);
        QFETCH(QString, firstListed);
        Window s;
        QLineEdit* box = edit(s.w, "SouTesuu");
        focus(box);
        type(box, total, how);
        s.click("Button1");

        const ScriptedUi::Box& last = s.ui.boxes.last();
        if (firstListed.isEmpty()) {
            QCOMPARE(last.title, texts::ApplicationTitle);
            QCOMPARE(last.kind, BoxKind::Error);
            QCOMPARE(last.text, QString(texts::NotAnInteger).replace(QStringLiteral("%s"), box->text()) + QLatin1Char('.'));
            QVERIFY(!s.w.form().memo.contains(texts::MissingDone));
        } else {
            QCOMPARE(last.text, texts::MissingDone);
            const bool listed = firstListed != QLatin1String("-");
            QCOMPARE(s.w.form().stringGrid2.at(0, 1), listed ? firstListed : QString());
            QCOMPARE(s.w.form().stringGrid2.at(0, MoveList::LastRow), listed ? QStringLiteral("499") : QString());
        }
        // The window goes on: the clear command still answers.
        const qsizetype before = s.ui.boxes.size();
        s.click("Button2");
        QCOMPARE(s.ui.boxes.size(), before + 1);
        QCOMPARE(s.ui.boxes.last().text, texts::ClearConfirm);
    }

    // A number that an offset would take past the 32-bit range stays as typed, so that every
    // later rule still reads it: it follows the first player, survives being walked through,
    // and the missing-number check reads it.
    void cellBeyondRangeStaysANumber()
    {
        Window s;
        edit(s.w, "txtPuls")->setText(QStringLiteral("2147483645"));
        s.typeCell(3, 3, QStringLiteral("5"), Typing::Keys);
        QCOMPARE(s.ui.boxes.size(), 1);
        QCOMPARE(s.ui.boxes[0].text, messages::tooManyDigits(QStringLiteral("2147483650")).box);
        QCOMPARE(s.w.form().cell(3, 3).background, colours::Black);
        s.w.findChildren<QRadioButton*>().at(1)->click();
        QCOMPARE(s.w.form().cell(3, 3).background, colours::White);
        s.typeCell(3, 3, QString(), Typing::Keys);
        QCOMPARE(s.w.cell(3, 3)->text(), QStringLiteral("5"));
        QCOMPARE(s.ui.boxes.size(), 1);
        edit(s.w, "SouTesuu")->setText(QStringLiteral("5"));
        s.click("Button1");
        QCOMPARE(s.ui.boxes.last().text, texts::MissingDone);
    }

    // The offset box keeps only a non-zero 32-bit integer; typed key by key, a number that grows
    // past the range empties it.
    void offset_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Typing>("how");
        QTest::addColumn<QString>("kept");
        QTest::newRow("one past the 32-bit range") << "2147483648" << Typing::Keys << "";
        QTest::newRow("smallest 32-bit number, pasted") << "-2147483648" << Typing::Paste << "-2147483648";
        // Key by key, the lone minus sign is erased before the digits come.
        QTest::newRow("minus sign typed first") << "-5" << Typing::Keys << "5";
        QTest::newRow("full-width digits") << "１２" << Typing::InputMethod << "";
        QTest::newRow("emoji") << emoji << Typing::InputMethod << "";
        QTest::newRow("very long number") << longDigits << Typing::Paste << "";
        QTest::newRow("tab before digits") << "\t5" << Typing::Paste << "";
        QTest::newRow("blank before digits, pasted") << " 5" << Typing::Paste << " 5";
    }

    void offset()
    {
        QFETCH(QString, typed);
        QFETCH(Typing, how);
        QFETCH(QString, kept);
        Window s;
        QLineEdit* box = edit(s.w, "txtPuls");
        focus(box);
        type(box, typed, how);
        QCOMPARE(box->text(), kept);
        QCOMPARE(s.w.form().txtPuls, kept);
        QVERIFY(s.ui.boxes.isEmpty());
    }

    // The search runs only for an integer and compares texts exactly.
    void search_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Typing>("how");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QString>("focused");
        QTest::newRow("one past the 32-bit range") << "2147483648" << Typing::Keys << false << "";
        QTest::newRow("full-width digits") << "１２" << Typing::InputMethod << false << "";
        QTest::newRow("emoji") << emoji << Typing::InputMethod << false << "";
        QTest::newRow("very long number") << longDigits << Typing::Paste << false << "";
        QTest::newRow("tab before digits") << "\t12" << Typing::Paste << false << "";
        QTest::newRow("largest 32-bit number") << "2147483647" << Typing::Keys << true << "Edit2_2";
        QTest::newRow("plus sign") << "+12" << Typing::Keys << true << "";
    }

    void search()
    {
        QFETCH(QString, typed);
        QFETCH(Typing, how);
        QFETCH(bool, asks);
        QFETCH(QString, focused);
        Window s;
        s.typeCell(1, 1, QStringLiteral("12"), Typing::Keys);
        s.typeCell(2, 2, QStringLiteral("2147483647"), Typing::Keys);
        const qsizetype boxesBefore = s.ui.boxes.size();
        const QString logBefore = s.w.form().memo;
        QLineEdit* box = edit(s.w, "txtKensaku");
        focus(box);
        type(box, typed, how);
        s.click("cmdKensaku");

        QCOMPARE(s.ui.boxes.size(), boxesBefore + (asks ? 1 : 0));
        if (!asks) {
            QCOMPARE(s.w.form().memo, logBefore);
            return;
        }
        QCOMPARE(s.ui.boxes.last().kind, BoxKind::Information);
        if (focused.isEmpty()) {
            QCOMPARE(s.w.form().memo, logBefore + messages::searchNotFoundLine(typed) + crlf);
            return;
        }
        QCOMPARE(s.ui.focusRequests.last(), focused);
        QCOMPARE(s.w.form().memo, logBefore + messages::searchFoundLine(typed, 2, 2) + crlf);
    }

    // A place typed into the missing-number list is tidied to upper-case half width at Save;
    // what is then no place on the board stops the save with a line naming the row.
    void listPlace_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Typing>("how");
        QTest::addColumn<QString>("secondMove");
        QTest::newRow("full-width digit") << "１" << Typing::InputMethod << "aa";
        QTest::newRow("full-width handicap label") << "ｂ１" << Typing::InputMethod << "cc";
        QTest::newRow("lower-case label by keys") << "b1" << Typing::Keys << "cc";
        QTest::newRow("emoji") << emoji << Typing::InputMethod << "";
        QTest::newRow("one past the 32-bit range") << "2147483648" << Typing::Keys << "";
        QTest::newRow("very long number") << longDigits << Typing::Paste << "";
        QTest::newRow("tab before a digit") << "\t1" << Typing::Paste << "";
        QTest::newRow("half-width katakana") << "ｶﾞ" << Typing::InputMethod << "";
    }

    void listPlace()
    {
        QFETCH(QString, typed);
        QFETCH(Typing, how);
        QFETCH(QString, secondMove);
        Window s;
        s.typeCell(1, 1, QStringLiteral("1"), Typing::Keys);
        s.typeCell(2, 2, QStringLiteral("3"), Typing::Keys);
        s.w.form().cell(3, 3).text = QStringLiteral("B1");
        s.w.form().stringGrid2.at(0, 1) = QStringLiteral("2");
        s.w.showModel();
        auto* grid = qobject_cast<QTableView*>(s.w.control(QStringLiteral("StringGrid2")));
        focus(grid);
        grid->setCurrentIndex(grid->model()->index(1, 1));
        if (how == Typing::Keys) {
            // The first key opens the cell's editor, which takes the rest.
            QTest::keyClicks(grid, typed.left(1));
            QTest::keyClicks(QApplication::focusWidget(), typed.mid(1));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            grid->edit(grid->model()->index(1, 1));
            QWidget* editor = QApplication::focusWidget();
            if (how == Typing::InputMethod)
                type(editor, typed, how);
            else
                qobject_cast<QLineEdit*>(editor)->setText(typed);
            QTest::keyClick(editor, Qt::Key_Return);
        }
        QTRY_COMPARE(shownText(grid, 1, 1), typed.left(32767));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kifu.sgf"));
        s.ui.savePaths = {path};
        const qsizetype boxesBefore = s.ui.boxes.size();
        s.click("cmdSave");
        if (secondMove.isEmpty()) {
            QVERIFY(!QFile::exists(path));
            const QString tidied = s.w.form().stringGrid2.at(1, 1);
            QVERIFY(s.w.form().memo.contains(messages::listRowLine(QStringLiteral("2"), tidied, QString())));
            QCOMPARE(s.ui.boxes.last().text, messages::invalidData().box);
            return;
        }
        QCOMPARE(s.ui.boxes.size(), boxesBefore + 2);
        QVERIFY(readFile(path).contains(";B[aa];W[" + secondMove.toLatin1() + "];B[bb]"));
    }
};

QTEST_MAIN(TestTypedFaults)
#include "tst_typedfaults.moc"
