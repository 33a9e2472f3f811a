#include "board/cellname.h"
#include "board/colours.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/lifecycle.h"
#include "board/texts.h"
#include "entry/cellentry.h"
#include "sgf/files.h"
#include "sgf/open.h"
#include "sgf/save.h"
#include "support/boardtext.h"
#include "support/folders.h"
#include "support/gnugo.h"
#include "support/scriptedui.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <map>

namespace {

const QString crlf = QStringLiteral("\r\n");
const QByteArray freshHeader = texts::FreshHeaderPlain.toLatin1();
// What the three moves of typedRecord() become.
const QByteArray threeMoves = ";B[pd];W[dd];B[pp]";

// A move as cell entry leaves it: the number, coloured by the first player.
void typeMove(Form& f, int x, int y, int n)
{
    Cell& c = f.cell(x, y);
    c.text = QString::number(n);
    const bool black = go::isBlackMove(n, f.radioGroup1);
    c.background = black ? colours::Black : colours::White;
    c.textColour = black ? colours::White : colours::Black;
}

void typeHandicap(Form& f, int x, int y)
{
    f.cell(x, y).text = QStringLiteral("B");
    f.cell(x, y).background = colours::Black;
    f.cell(x, y).textColour = colours::White;
}

void typedRecord(Form& f)
{
    typeMove(f, 16, 4, 1);
    typeMove(f, 4, 4, 2);
    typeMove(f, 16, 16, 3);
}

QString backupNote(const QString& head, const QString& backup)
{
    return messages::backupNote(head, QDir::toNativeSeparators(backup));
}

// Paths are shown with the platform's separators.
QString savedBox(const QString& path, const QString& note = {})
{
    return messages::saved(QDir::toNativeSeparators(path), note).box;
}

QString savedLog(const QString& path)
{
    return messages::saved(QDir::toNativeSeparators(path), QString()).log + crlf;
}

// The second box is the error of a failed save, with the system's reason after its fixed
// part, and the log gained that line alone.
void expectSaveFailed(const ScriptedUi& ui, const Form& f, const QString& logBefore, bool backup, const QString& path)
{
    QCOMPARE(ui.boxes.size(), 2);
    QCOMPARE(ui.boxes[1].kind, BoxKind::Error);
    QCOMPARE(ui.boxes[1].buttons, BoxButtons::Ok);
    const QString native = QDir::toNativeSeparators(path);
    const QString head = messages::saveFailed(backup, native, QString()).box;
    const QString reason = ui.boxes[1].text.startsWith(head) ? ui.boxes[1].text.mid(head.size()) : QString();
    QVERIFY2(!reason.isEmpty(), qPrintable(ui.boxes[1].text));
    QCOMPARE(f.memo, logBefore + messages::saveFailed(backup, native, reason).log + crlf);
}

void openRecord(Form& f, const QString& path, Answer mode)
{
    ScriptedUi ui;
    ui.answers = {mode};
    ui.openPaths = {path};
    FileHiraku(f, ui);
    if (f.currentFileName != path)
        qFatal("the test file did not open");
}

} // namespace

class TestSave : public QObject {
    Q_OBJECT

private slots:
    // Files of other programs saved after one move typed (or none): keep mode inserts it where
    // the main line really ends and changes nothing else; edit mode keeps the whole root, the
    // passes in their places and the colours the file gave, less a move the root held.
    void foreignLayout_data()
    {
        QTest::addColumn<QByteArray>("loaded");
        QTest::addColumn<Answer>("mode");
        // The typed move's number, 0 for none; it goes on Edit16_16 (pp).
        QTest::addColumn<int>("typed");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray oneLine = "(;GM[1]SZ[19];B[pd];W[dd])";
        QTest::newRow("one line, keep") << oneLine << Answer::Yes << 3
                                        << QByteArray("(;GM[1]SZ[19];B[pd];W[dd]\r\n;B[pp])\r\n");
        QTest::newRow("one line, edit") << oneLine << Answer::No << 3
                                        << QByteArray("(;GM[1]SZ[19]\r\n;B[pd];W[dd];B[pp]\r\n)\r\n");
        const QByteArray passes = "(;SZ[19]\n;B[pd];W[];B[dd];W[tt])";
        QTest::newRow("passes, keep") << passes << Answer::Yes << 5
                                      << QByteArray("(;SZ[19]\r\n;B[pd];W[];B[dd];W[tt]\r\n;B[pp])\r\n");
        QTest::newRow("passes, edit") << passes << Answer::No << 0
                                      << QByteArray("(;SZ[19]\r\n;B[pd];W[];B[dd];W[tt]\r\n)\r\n");
        const QByteArray blacks = "(;SZ[19]\n;B[pd];B[dp];W[dd])";
        QTest::newRow("two blacks in a row, edit") << blacks << Answer::No << 4
                                                   << QByteArray("(;SZ[19]\r\n;B[pd];B[dp];W[dd];B[pp]\r\n)\r\n");
        QTest::newRow("move in the root, edit") << QByteArray("(;SZ[19]B[pd]\n;W[dd])") << Answer::No << 0
                                                << QByteArray("(;SZ[19]\r\n;B[pd];W[dd]\r\n)\r\n");
        QTest::newRow("root on a line of its own, edit")
            << QByteArray("(\n;GM[1]SZ[19]\n;B[pd];W[dd])") << Answer::No << 0
            << QByteArray("(\r\n;GM[1]SZ[19]\r\n;B[pd];W[dd]\r\n)\r\n");
        QTest::newRow("root comment over lines, edit")
            << QByteArray("(;GM[1]C[a;b)\nc\\]]\n;B[pd])") << Answer::No << 0
            << QByteArray("(;GM[1]C[a;b)\r\nc\\]]\r\n;B[pd]\r\n)\r\n");
        QTest::newRow("never closed, keep") << QByteArray("(;SZ[19]\n;B[pd];C[end]") << Answer::Yes << 2
                                            << QByteArray("(;SZ[19]\r\n;B[pd];C[end]\r\n;W[pp])\r\n");
        QTest::newRow("variation after the main line, keep")
            << QByteArray("(;SZ[19];B[pd](;W[dd])(;W[dp]))") << Answer::Yes << 3
            << QByteArray("(;SZ[19];B[pd](;W[dd]\r\n;B[pp])(;W[dp]))\r\n");
    }

    void foreignLayout()
    {
        QFETCH(QByteArray, loaded);
        QFETCH(Answer, mode);
        QFETCH(int, typed);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("other.sgf")), loaded);
        Form f;
        openRecord(f, path, mode);
        if (typed)
            typeMove(f, 16, 16, typed);
        ScriptedUi ui;
        Hozon(f, ui);
        QCOMPARE(ui.boxes.last().text, savedBox(path, backupNote(texts::BackupBefore, dir.filePath(QStringLiteral("other_bk.sgf")))));
        QTEST(readFile(path), "saved");
    }

    // Keep mode adds only moves after the loaded ones: one typed on the number of a pass is
    // refused with the first free number, and the file stays as it was.
    void spliceRefused()
    {
        QTemporaryDir dir;
        const QByteArray loaded = "(;SZ[19]\n;B[pd];W[])";
        const QString path = writeFile(dir.filePath(QStringLiteral("pass.sgf")), loaded);
        Form f;
        openRecord(f, path, Answer::Yes);
        typeMove(f, 16, 16, 2);
        ScriptedUi ui;
        Hozon(f, ui);
        const messages::BoxAndLog m = messages::spliceFailed(QDir::toNativeSeparators(path), messages::loadedNumber(2, 3));
        QCOMPARE(ui.boxes.last().kind, BoxKind::Error);
        QCOMPARE(ui.boxes.last().text, m.box);
        QVERIFY(f.memo.endsWith(m.log + crlf));
        QCOMPARE(readFile(path), loaded);
    }

    void backupName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("backup");

        QTest::newRow("free") << "/d/kifu.sgf" << QStringList{} << "/d/kifu_bk.sgf";
        QTest::newRow("one taken") << "/d/kifu.sgf" << QStringList{"/d/kifu_bk.sgf"} << "/d/kifu_bk_bk.sgf";
        QTest::newRow("two taken") << "/d/kifu.sgf" << QStringList{"/d/kifu_bk.sgf", "/d/kifu_bk_bk.sgf"}
                                   << "/d/kifu_bk_bk_bk.sgf";
        QTest::newRow("gap in the chain") << "/d/kifu.sgf" << QStringList{"/d/kifu_bk_bk.sgf"} << "/d/kifu_bk.sgf";
        QTest::newRow("other extension") << "/d/game.txt" << QStringList{} << "/d/game_bk.sgf";
        QTest::newRow("upper-case extension") << "/d/KIFU.SGF" << QStringList{"/d/KIFU_bk.sgf"} << "/d/KIFU_bk_bk.sgf";
        QTest::newRow("Japanese name") << QStringLiteral("/d/棋譜.sgf") << QStringList{}
                                       << QStringLiteral("/d/棋譜_bk.sgf");
    }

    void backupName()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, taken);
        QTEST(::backupName(name, [&](const QString& n) { return taken.contains(n); }), "backup");
    }

    void fileText_data()
    {
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("none") << QList<QByteArray>{} << QByteArray();
        QTest::newRow("one empty") << QList<QByteArray>{""} << QByteArray("\r\n");
        QTest::newRow("bytes kept") << QList<QByteArray>{"a", "\x83\x52"} << QByteArray("a\r\n\x83\x52\r\n");
    }

    void fileText()
    {
        QFETCH(QList<QByteArray>, lines);
        QTEST(::fileText(lines), "text");
    }

    void firstSave_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("backup");

        QTest::newRow("new name") << "kifu.sgf" << QStringList{} << "kifu.sgf" << "";
        QTest::newRow("without extension") << "kifu" << QStringList{} << "kifu.sgf" << "";
        QTest::newRow("upper-case extension") << "KIFU.SGF" << QStringList{} << "KIFU.SGF.sgf" << "";
        QTest::newRow("existing file") << "kifu.sgf" << QStringList{"kifu.sgf"} << "kifu.sgf" << "kifu_bk.sgf";
        QTest::newRow("existing backup") << "kifu.sgf" << QStringList{"kifu.sgf", "kifu_bk.sgf"} << "kifu.sgf"
                                         << "kifu_bk_bk.sgf";
        QTest::newRow("extension added, then found") << "kifu" << QStringList{"kifu.sgf"} << "kifu.sgf"
                                                     << "kifu_bk.sgf";
    }

    void firstSave()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, existing);
        QFETCH(QString, target);
        QFETCH(QString, backup);
        QTemporaryDir dir;
        for (const QString& name : existing)
            writeFile(dir.filePath(name), "old " + name.toLatin1());
        const auto before = listing(dir.path());
        Form f;
        typedRecord(f);
        ScriptedUi ui;
        ui.savePaths = {dir.filePath(chosen)};
        Hozon(f, ui);

        const QString path = dir.filePath(target);
        QCOMPARE(ui.saveDialogs, 1);
        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(ui.boxes[0].kind, BoxKind::Confirm);
        QCOMPARE(ui.boxes[0].buttons, BoxButtons::OkCancel);
        QCOMPARE(ui.boxes[0].text, texts::SaveConfirm);
        QCOMPARE(ui.boxes[1].kind, BoxKind::Information);
        QCOMPARE(ui.boxes[1].buttons, BoxButtons::Ok);
        const QString note = backup.isEmpty() ? QString() : backupNote(texts::BackupExists, dir.filePath(backup));
        QCOMPARE(ui.boxes[1].text, savedBox(path, note));
        QCOMPARE(f.memo, Form().memo + savedLog(path));
        QCOMPARE(f.currentFileName, path);
        QCOMPARE(f.lblHyoudai, messages::editingTitle(QDir::toNativeSeparators(path)));
        QCOMPARE(readFile(path), freshHeader + "\r\n" + threeMoves + "\r\n)\r\n");

        // Every older file is where it was, except the one moved to the new backup name.
        auto after = listing(dir.path());
        if (!backup.isEmpty()) {
            QCOMPARE(after[backup], before.at(target));
            after.erase(backup);
        }
        after.erase(target);
        auto expected = before;
        expected.erase(target);
        QCOMPARE(after, expected);
    }

    void handicapAndWhiteFirst()
    {
        QTemporaryDir dir;
        Form f;
        f.radioGroup1 = go::FirstPlayer::White;
        typeHandicap(f, 16, 16);
        typeHandicap(f, 4, 4);
        typeMove(f, 16, 4, 1);
        typeMove(f, 4, 16, 2);
        ScriptedUi ui;
        ui.savePaths = {dir.filePath(QStringLiteral("h.sgf"))};
        Hozon(f, ui);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("h.sgf"))),
                 texts::FreshHeaderHead.toLatin1() + "[dd][pp]" + texts::FreshHeaderTail.toLatin1()
                     + "\r\n;W[pd];B[dp]\r\n)\r\n");
    }

    void savesOfAnOpenedRecordKeepEveryBackup()
    {
        QTemporaryDir dir;
        const QByteArray original = freshHeader + "\r\n" + threeMoves + "\r\n)\r\n";
        const QString path = writeFile(dir.filePath(QStringLiteral("game.sgf")), original);
        Form f;
        openRecord(f, path, Answer::No);
        const QString opened = f.memo;
        const QString title = f.lblHyoudai;
        typeMove(f, 4, 16, 4);

        QString log = opened;
        for (const QString suffix : {"_bk", "_bk_bk", "_bk_bk_bk"}) {
            ScriptedUi ui;
            Hozon(f, ui);
            const QString backup = dir.filePath(QStringLiteral("game") + suffix + QStringLiteral(".sgf"));
            QCOMPARE(ui.saveDialogs, 0);
            QCOMPARE(ui.boxes.size(), 2);
            QCOMPARE(ui.boxes[0].text, messages::saveConfirm(QDir::toNativeSeparators(path)));
            QCOMPARE(ui.boxes[1].kind, BoxKind::Information);
            QCOMPARE(ui.boxes[1].text, savedBox(path, backupNote(texts::BackupBefore, backup)));
            log += savedLog(path);
            QCOMPARE(f.memo, log);
            QVERIFY(QFileInfo::exists(backup));
        }
        QCOMPARE(f.lblHyoudai, title);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("game_bk.sgf"))), original);
        const QByteArray rebuilt = freshHeader + "\r\n" + threeMoves + ";W[dp]\r\n)\r\n";
        QCOMPARE(readFile(dir.filePath(QStringLiteral("game_bk_bk.sgf"))), rebuilt);
        QCOMPARE(readFile(path), rebuilt);
        QCOMPARE(names(dir.path()).size(), 4);
    }

    // Data that cannot be saved, or a Cancel at the confirmation or in the dialog: no file is
    // touched, and the record keeps its log, its title and the file it had.
    void stopsBeforeAnyFile_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QString>("stop");
        QTest::newRow("new record, gap") << false << "gap";
        QTest::newRow("new record, invalid") << false << "invalid";
        QTest::newRow("opened record, gap") << true << "gap";
        QTest::newRow("opened record, invalid") << true << "invalid";
        QTest::newRow("new record, Cancel at the confirmation") << false << "confirmation";
        QTest::newRow("new record, dialog cancelled") << false << "dialog";
        QTest::newRow("opened record, Cancel at the confirmation") << true << "confirmation";
    }

    void stopsBeforeAnyFile()
    {
        QFETCH(bool, opened);
        QFETCH(QString, stop);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("game.sgf")), freshHeader + "\r\n;B[aa]\r\n)\r\n");
        Form f;
        if (opened)
            openRecord(f, path, Answer::No);
        else
            typeMove(f, 1, 1, 1);
        typeMove(f, 3, 3, 2);
        const bool gap = stop == QLatin1String("gap");
        const bool bad = gap || stop == QLatin1String("invalid");
        if (bad)
            typeMove(f, 5, 5, gap ? 4 : 0);
        const auto before = listing(dir.path());
        const QString logBefore = f.memo;
        const QString title = f.lblHyoudai;
        ScriptedUi ui;
        if (stop == QLatin1String("confirmation"))
            ui.answers = {Answer::Cancel};
        else
            ui.savePaths = {bad ? std::optional<QString>(path) : std::nullopt};
        Hozon(f, ui);

        QCOMPARE(listing(dir.path()), before);
        QCOMPARE(f.currentFileName, opened ? path : QString());
        QCOMPARE(f.lblHyoudai, title);
        QCOMPARE(ui.saveDialogs, stop == QLatin1String("dialog") ? 1 : 0);
        if (!bad) {
            QCOMPARE(ui.boxes.size(), 1);
            QCOMPARE(f.memo, logBefore);
            return;
        }
        QCOMPARE(ui.boxes.size(), gap ? 3 : 2);
        const ScriptedUi::Box& last = ui.boxes.last();
        QCOMPARE(last.kind, BoxKind::Error);
        QCOMPARE(last.buttons, BoxButtons::Ok);
        QCOMPARE(last.text, messages::invalidData().box);
        if (gap) {
            QCOMPARE(ui.boxes[1].kind, BoxKind::Warning);
            QCOMPARE(f.memo, logBefore + messages::gapLine(3) + crlf + messages::invalidData().log + crlf);
        } else {
            QVERIFY(f.memo.endsWith(texts::ZeroOrLess + crlf + messages::invalidData().log + crlf));
        }
    }

    // A first save that cannot write leaves the record without a file, so the next save asks again.
    void unwritableTarget_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("missing folder") << "missing/kifu.sgf";
        QTest::newRow("folder of that name") << "folder.sgf";
    }

    void unwritableTarget()
    {
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.sgf")));
        writeFile(dir.filePath(QStringLiteral("folder.sgf/inside.sgf")), "inside");
        const auto before = listing(dir.path());
        const QString path = dir.filePath(chosen);
        Form f;
        typedRecord(f);
        f.lblHyoudai = texts::TitleNewRecord;
        ScriptedUi ui;
        ui.savePaths = {path};
        Hozon(f, ui);
        expectSaveFailed(ui, f, Form().memo, false, path);
        QCOMPARE(listing(dir.path()), before);
        QVERIFY(f.currentFileName.isEmpty());
        QCOMPARE(f.lblHyoudai, texts::TitleNewRecord);

        ScriptedUi again;
        const QString good = dir.filePath(QStringLiteral("good.sgf"));
        again.savePaths = {good};
        Hozon(f, again);
        QCOMPARE(again.saveDialogs, 1);
        QCOMPARE(f.currentFileName, good);
        QCOMPARE(again.boxes.last().text, savedBox(good));
    }

    // The backup name is too long for the file system, so the old file cannot be moved there.
    void firstSaveBackupFails()
    {
        QTemporaryDir dir;
        const QString name = QString(251, QLatin1Char('k')) + QStringLiteral(".sgf");
        const QString path = writeFile(dir.filePath(name), "old");
        const auto before = listing(dir.path());
        Form f;
        typedRecord(f);
        ScriptedUi ui;
        ui.savePaths = {path};
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("_bk\\.sgf")));
        Hozon(f, ui);
        expectSaveFailed(ui, f, Form().memo, true, path);
        QCOMPARE(listing(dir.path()), before);
        QVERIFY(f.currentFileName.isEmpty());
    }

    // Another program takes the backup name while the confirmation is open.
    void backupNameTakenMeanwhile()
    {
        QTemporaryDir dir;
        const QByteArray original = freshHeader + "\r\n;B[aa]\r\n)\r\n";
        const QString path = writeFile(dir.filePath(QStringLiteral("game.sgf")), original);
        const QString backup = dir.filePath(QStringLiteral("game_bk.sgf"));
        Form f;
        openRecord(f, path, Answer::No);
        typeMove(f, 2, 2, 2);
        const QString logBefore = f.memo;
        ScriptedUi ui;
        ui.onBox = [&](const ScriptedUi::Box& box) {
            if (box.kind == BoxKind::Confirm)
                writeFile(backup, "someone else's");
        };
        Hozon(f, ui);
        expectSaveFailed(ui, f, logBefore, true, path);
        QCOMPARE(readFile(path), original);
        QCOMPARE(readFile(backup), QByteArray("someone else's"));
        QCOMPARE(names(dir.path()), (QStringList{"game.sgf", "game_bk.sgf"}));
    }

    // Comments, variations and reference diagrams in Shift-JIS come back byte for byte.
    void keepModeWritesTheFileBack()
    {
        QTemporaryDir dir;
        const QByteArray original = "(;CA[shift_jis]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]PB[\x8d\x95]\r\n"
                                    ";B[pd]C[\x83\x52\x83\x81\x83\x93\x83\x67];W[dd]\r\n"
                                    "(;B[pp]C[\x8e\x51\x8d\x6c\x90\x7d])\r\n"
                                    "(;B[dp]C[\x95\xcf\x89\xbb])\r\n"
                                    ")\r\n";
        const QString path = writeFile(dir.filePath(QStringLiteral("sjis.sgf")), original);
        Form f;
        openRecord(f, path, Answer::Yes);
        QCOMPARE(f.loadedNodeCount, 3);
        QCOMPARE(f.tailLine, 3);
        ScriptedUi ui;
        Hozon(f, ui);
        QCOMPARE(ui.boxes.last().kind, BoxKind::Information);
        QCOMPARE(readFile(path), original);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("sjis_bk.sgf"))), original);

        // A move typed after opening joins the main line; everything around it stays.
        typeMove(f, 4, 16, 4);
        Hozon(f, ui);
        const QByteArray spliced = "(;CA[shift_jis]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]PB[\x8d\x95]\r\n"
                                   ";B[pd]C[\x83\x52\x83\x81\x83\x93\x83\x67];W[dd]\r\n"
                                   "(;B[pp]C[\x8e\x51\x8d\x6c\x90\x7d]\r\n"
                                   ";W[dp])\r\n"
                                   "(;B[dp]C[\x95\xcf\x89\xbb])\r\n"
                                   ")\r\n";
        QCOMPARE(readFile(path), spliced);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("sjis_bk_bk.sgf"))), original);
    }

    // A ")" in a comment of the main line is text: every move after it is loaded, and a move
    // typed after opening joins the main line at its real end, in both modes. GNU Go plays the
    // saved file through.
    void closeInsideAComment_data()
    {
        QTest::addColumn<QByteArray>("comment");
        QTest::addColumn<Answer>("mode");
        // 参考 in Shift-JIS.
        const QByteArray reference = "C[(\x8e\x51\x8d\x6c)]";
        const QByteArray escaped = "C[a\\] :) b]";
        for (const auto& [name, mode] : {std::pair{"keep mode", Answer::Yes}, std::pair{"edit mode", Answer::No}}) {
            QTest::addRow("%s, smiley", name) << QByteArray("C[good :) move]") << mode;
            QTest::addRow("%s, Shift-JIS in brackets", name) << reference << mode;
            QTest::addRow("%s, escaped bracket", name) << escaped << mode;
        }
    }

    void closeInsideAComment()
    {
        QFETCH(QByteArray, comment);
        QFETCH(Answer, mode);
        QTemporaryDir dir;
        const QByteArray original = freshHeader + "\r\n;B[pd]" + comment + ";W[dd]\r\n;B[pp])\r\n";
        const QString path = writeFile(dir.filePath(QStringLiteral("comment.sgf")), original);
        Form f;
        openRecord(f, path, mode);
        QCOMPARE(f.loadedNodeCount, 3);
        QCOMPARE(f.cell(16, 16).text, QStringLiteral("3"));
        typeMove(f, 4, 16, 4);
        ScriptedUi ui;
        Hozon(f, ui);
        QCOMPARE(ui.boxes.last().kind, BoxKind::Information);
        const QByteArray expected = mode == Answer::Yes
            ? freshHeader + "\r\n;B[pd]" + comment + ";W[dd]\r\n;B[pp]\r\n;W[dp])\r\n"
            : freshHeader + "\r\n;B[pd];W[dd];B[pp];W[dp]\r\n)\r\n";
        QCOMPARE(readFile(path), expected);

        QString error;
        const auto readings = readWithGnuGo({path}, &error);
        QVERIFY2(readings, qPrintable(error));
        const GnuGoReading& read = readings->first();
        QVERIFY2(read.loaded && read.complaints.isEmpty(), qPrintable(read.complaints.join('\n')));
        QCOMPARE(read.history, (QStringList{"black Q16", "white D16", "black Q4", "white D4"}));
    }

    // Typed through the cell handlers, saved, cleared by New, opened for editing and saved again.
    void roundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("round.sgf"));
        Form f;
        ScriptedUi typing;
        f.radioGroup1 = go::FirstPlayer::White;
        const auto type = [&](int x, int y, const char* text) {
            Derutoki(f, cellName(x, y));
            f.cell(x, y).text = QString::fromLatin1(text);
            NyuuRyokuGo(f, typing);
        };
        type(4, 4, "B");
        type(16, 16, "b");
        type(16, 4, "1");
        type(4, 16, "2");
        type(17, 6, "3");
        type(3, 3, "4");
        type(10, 10, "5");
        type(1, 1, "8");
        QCOMPARE(f.cell(16, 16).text, QStringLiteral("B2"));
        QVERIFY(typing.boxes.isEmpty());
        // Move 6 was played where move 1 stood, move 7 on the handicap stone at pp.
        putRows(f.stringGrid2, {"6|1", "7|b2"});
        ScriptedUi ui;
        ui.savePaths = {path};
        Hozon(f, ui);
        const QByteArray first = readFile(path);
        QCOMPARE(first, texts::FreshHeaderHead.toLatin1() + "[dd][pp]" + texts::FreshHeaderTail.toLatin1()
                            + "\r\n;W[pd];B[dp];W[qf];B[cc];W[jj];B[pd];W[pp];B[aa]\r\n)\r\n");

        cmdNewClick(f, ui);
        QVERIFY(f.cell(16, 4).text.isEmpty());
        openRecord(f, path, Answer::No);
        QCOMPARE(f.stringGrid1.at(0, 1), QStringLiteral("6"));
        QCOMPARE(f.stringGrid1.at(1, 1), QStringLiteral("1"));
        QCOMPARE(f.stringGrid1.at(1, 2), QStringLiteral("B2"));
        Hozon(f, ui);
        QCOMPARE(readFile(path), first);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("round_bk.sgf"))), first);
    }
};

QTEST_GUILESS_MAIN(TestSave)
#include "tst_save.moc"
