// What the file system and odd files can do to a record: files that vanish or turn into
// folders between open and save, folders that do not exist, very large files, NUL bytes, line
// ends of every kind, Japanese names with blanks, records longer than the lists. Each case must
// give a clear message or work, and the previous version of a file must survive every save.

#include "board/cellname.h"
#include "board/form.h"
#include "board/messages.h"
#include "board/texts.h"
#include "checks/missingnumbers.h"
#include "entry/cellentry.h"
#include "rules/replay.h"
#include "sgf/open.h"
#include "sgf/save.h"
#include "support/folders.h"
#include "support/scriptedui.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <map>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString crlf = QStringLiteral("\r\n");
const QByteArray lineEnd = "\r\n";
const QByteArray header = texts::FreshHeaderPlain.toLatin1();
// Game information as MultiGo keeps it: Shift-JIS names (黒 and 白) and a comment.
const QByteArray gameInfoLine = "PB[\x8d\x95]PW[\x94\x92]GN[\x83\x51\x81\x5b\x83\x80]";

// Move nodes from move `first` on, 14 to a line, each line ended by CR LF; black moves first.
QByteArray moveLines(const QStringList& points, int first = 1)
{
    QByteArray text;
    for (int i = 0; i < points.size(); ++i) {
        const int k = first + i;
        text += ';' + QByteArray(k % 2 == 1 ? "B" : "W") + '[' + points[i].toLatin1() + ']';
        if ((i + 1) % 14 == 0 || i + 1 == points.size())
            text += lineEnd;
    }
    return text;
}

// The same as the last move line with the main line's ")" put back at its end.
QByteArray closedMoveLines(const QStringList& points, int first = 1)
{
    QByteArray text = moveLines(points, first);
    text.chop(2);
    return text + ')' + lineEnd;
}

const QStringList opening{QStringLiteral("pd"), QStringLiteral("dd"), QStringLiteral("pp")};

// A record of three moves with game information, a reference diagram and a comment after its
// main line.
QByteArray recordWithTail()
{
    return header + lineEnd + gameInfoLine + lineEnd + closedMoveLines(opening)
        + "(;W[dp]C[\x8e\x51\x8d\x6c\x90\x7d])" + lineEnd + ")" + lineEnd;
}

ScriptedUi open(Form& f, const QString& path, Answer mode)
{
    ScriptedUi ui;
    ui.answers = {mode};
    ui.openPaths = {path};
    FileHiraku(f, ui);
    return ui;
}

// Types a number into a cell and leaves it, as the operator does.
void typeMove(Form& f, int x, int y, int n)
{
    ScriptedUi ui;
    Derutoki(f, cellName(x, y));
    f.cell(x, y).text = QString::number(n);
    NyuuRyokuGo(f, ui);
    if (!ui.boxes.isEmpty())
        qFatal("the typed move was refused");
}

ScriptedUi save(Form& f, const std::optional<QString>& chosen = std::nullopt, const WriteBytes& write = writeAllBytes)
{
    ScriptedUi ui;
    if (chosen)
        ui.savePaths = {*chosen};
    Hozon(f, ui, write);
    return ui;
}

// A file system of 64 KiB mounted on a folder for the length of a test; only root may mount.
struct SmallFileSystem {
    QString folder;
    bool mounted = false;

    explicit SmallFileSystem(const QString& at)
        : folder(at)
    {
        QProcess mount;
        mount.start(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", at});
        mounted = mount.waitForFinished() && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {folder});
    }
};

// Writes a file until the file system has no room left.
void fillUp(const QString& path)
{
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        qFatal("cannot create the filler file");
    const QByteArray block(4096, 'x');
    while (filler.write(block) > 0) {
    }
}

// Paths are shown with the platform's separators.
QString backupNote(const QString& head, const QString& backup)
{
    return messages::backupNote(head, QDir::toNativeSeparators(backup));
}

QString savedBox(const QString& path, const QString& note = {})
{
    return messages::saved(QDir::toNativeSeparators(path), note).box;
}

// The last box was the error of a write that could not be made, naming the file.
bool reportsWriteFailure(const ScriptedUi& ui, const QString& path)
{
    const QString head = messages::saveFailed(false, QDir::toNativeSeparators(path), QString()).box;
    const ScriptedUi::Box& box = ui.boxes.last();
    return box.kind == BoxKind::Error && box.text.startsWith(head) && box.text.size() > head.size();
}

} // namespace

class TestFileFaults : public QObject {
    Q_OBJECT

private slots:
    // The disk refuses the bytes, takes fewer than it was given without saying so, or is full:
    // the error box names the file and the reason, no success is reported, and the previous
    // version is back under its own name with nothing else left in the folder.
    void writeFault_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("opened");
        for (const char* fault : {"refused", "bytes lost", "full file system", "name taken meanwhile"}) {
            QTest::addRow("%s, opened record", fault) << fault << true;
            QTest::addRow("%s, first save over a file", fault) << fault << false;
        }
    }

    void writeFault()
    {
        QFETCH(QString, fault);
        QFETCH(bool, opened);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("game.sgf"));
        std::optional<SmallFileSystem> small;
        WriteBytes write = writeAllBytes;
        // Something else takes the name while the save runs, so the previous version cannot
        // go back under it: the error box says where it is, in the words of that kind of save.
        const bool taken = fault == QLatin1String("name taken meanwhile");
        if (fault == QLatin1String("refused")) {
            write = [](QIODevice&, const QByteArray&) { return qint64(-1); };
        } else if (fault == QLatin1String("bytes lost")) {
            write = [](QIODevice& file, const QByteArray& bytes) {
                file.write(bytes.left(bytes.size() / 2));
                return qint64(bytes.size());
            };
        } else if (taken) {
            write = [path](QIODevice&, const QByteArray&) {
                QDir().mkdir(path);
                writeFile(path + QStringLiteral("/inside.sgf"), "inside");
                return qint64(-1);
            };
        } else {
#ifdef Q_OS_UNIX
            if (geteuid() != 0)
                QSKIP("only root may mount a small file system");
#else
            QSKIP("a small file system is mounted with Linux's mount");
#endif
            small.emplace(dir.path());
            if (!small->mounted)
                QSKIP("a small file system could not be mounted here");
        }
        writeFile(path, recordWithTail());
        if (small)
            fillUp(dir.filePath(QStringLiteral("filler")));
        const auto before = listing(dir.path());
        // A record with one new move: the file opened for editing, or a fresh one saved over it.
        Form f;
        if (opened) {
            open(f, path, Answer::Yes);
            typeMove(f, 4, 16, 4);
        } else {
            typeMove(f, 16, 4, 1);
        }
        const QString logBefore = f.memo;
        const ScriptedUi ui = save(f, opened ? std::nullopt : std::optional<QString>(path), write);

        QCOMPARE(ui.boxes.size(), 2);
        QVERIFY2(reportsWriteFailure(ui, path), qPrintable(ui.boxes.last().text));
        QVERIFY(f.memo.startsWith(logBefore + messages::saveFailed(false, QDir::toNativeSeparators(path), QString()).log));
        QVERIFY(!f.memo.contains(texts::SavedLog));
        if (!taken) {
            QVERIFY(!ui.boxes.last().text.contains(texts::SavedAs));
            QVERIFY(listing(dir.path()) == before);
            return;
        }
        const QString backup = dir.filePath(QStringLiteral("game_bk.sgf"));
        const QString note = backupNote(opened ? texts::BackupBefore : texts::BackupExists, backup);
        QVERIFY2(ui.boxes.last().text.endsWith(note), qPrintable(ui.boxes.last().text));
        QCOMPARE(readFile(backup), recordWithTail());
    }

    // The file is gone when Save comes, a move typed or none: the record is written anew,
    // there is nothing to back up.
    void fileVanishedBeforeSave_data()
    {
        QTest::addColumn<Answer>("mode");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head = header + lineEnd + gameInfoLine + lineEnd;
        // Keep mode splices move 4 into the record as it was.
        QTest::newRow("keep mode") << Answer::Yes << true
                                   << head + moveLines(opening) + closedMoveLines({QStringLiteral("dp")}, 4)
                                          + "(;W[dp]C[\x8e\x51\x8d\x6c\x90\x7d])" + lineEnd + ")" + lineEnd;
        QTest::newRow("edit mode") << Answer::No << true << head + moveLines(opening + QStringList{"dp"}) + ")" + lineEnd;
        QTest::newRow("edit mode, nothing typed") << Answer::No << false << head + moveLines(opening) + ")" + lineEnd;
    }

    void fileVanishedBeforeSave()
    {
        QFETCH(Answer, mode);
        QFETCH(bool, typed);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("game.sgf")), recordWithTail());
        Form f;
        open(f, path, mode);
        QVERIFY(QFile::remove(path));
        if (typed)
            typeMove(f, 4, 16, 4);
        const ScriptedUi ui = save(f);

        QCOMPARE(ui.boxes.size(), 2);
        QCOMPARE(ui.boxes[1].text, savedBox(path));
        QTEST(readFile(path), "expected");
        QCOMPARE(names(dir.path()), QStringList{"game.sgf"});
    }

    // Where the file stood there is now a folder, or its folder is gone: an error box and a
    // log line name the file; nothing on disk changes.
    void fileBecameUnwritable_data()
    {
        QTest::addColumn<bool>("folderInItsPlace");
        QTest::newRow("a folder in its place") << true;
        QTest::newRow("its folder removed") << false;
    }

    void fileBecameUnwritable()
    {
        QFETCH(bool, folderInItsPlace);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("games"));
        QVERIFY(QDir().mkdir(folder));
        const QString path = writeFile(folder + QStringLiteral("/game.sgf"), recordWithTail());
        Form f;
        open(f, path, Answer::Yes);
        if (folderInItsPlace) {
            QVERIFY(QFile::remove(path));
            QVERIFY(QDir().mkdir(path));
            writeFile(path + QStringLiteral("/inside.sgf"), "inside");
        } else {
            QVERIFY(QDir(folder).removeRecursively());
        }
        const auto before = listing(dir.path());
        typeMove(f, 4, 16, 4);
        const QString logBefore = f.memo;
        const ScriptedUi ui = save(f);

        QCOMPARE(ui.boxes.size(), 2);
        QVERIFY2(reportsWriteFailure(ui, path), qPrintable(ui.boxes.last().text));
        QVERIFY(f.memo.startsWith(logBefore + messages::saveFailed(false, QDir::toNativeSeparators(path), QString()).log));
        QCOMPARE(listing(dir.path()), before);
        QCOMPARE(f.currentFileName, path);
    }

    // A first save to a folder that does not exist, or to a name that a folder has once the
    // extension is added, fails with the error box; the record keeps no file name.
    void unusableFirstTarget_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("target");
        QTest::newRow("missing folder") << "no such folder/kifu.sgf" << "no such folder/kifu.sgf";
        QTest::newRow("folder once .sgf is added") << "kifu" << "kifu.sgf";
    }

    void unusableFirstTarget()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, target);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("kifu.sgf")));
        writeFile(dir.filePath(QStringLiteral("kifu.sgf/old.sgf")), "old");
        const auto before = listing(dir.path());
        Form f;
        typeMove(f, 16, 4, 1);
        const ScriptedUi ui = save(f, dir.filePath(chosen));

        QVERIFY2(reportsWriteFailure(ui, dir.filePath(target)), qPrintable(ui.boxes.last().text));
        QCOMPARE(listing(dir.path()), before);
        QVERIFY(f.currentFileName.isEmpty());
    }

    // 50 MB: a long tail of reference diagrams, one line without an end (a root with a long
    // comment), or a main line far longer than the move table. The file opens, and a save keeps
    // the old file whole as its backup.
    void largeFile_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<Answer>("mode");
        QTest::addColumn<int>("typed");
        QTest::addColumn<QByteArray>("expected");
        const qsizetype size = 50 * 1024 * 1024;
        const QStringList dp{QStringLiteral("dp")};

        QByteArray diagrams;
        const QByteArray diagram = "(;W[dp];B[cq];W[cp]C[" + QByteArray(1000, '\x8e') + "])" + lineEnd;
        while (diagrams.size() < size)
            diagrams += diagram;
        const QByteArray head = header + lineEnd + gameInfoLine + lineEnd;
        const QByteArray withTail = head + closedMoveLines(opening) + diagrams + ")" + lineEnd;
        const QByteArray spliced = head + moveLines(opening) + closedMoveLines(dp, 4) + diagrams + ")" + lineEnd;
        QTest::newRow("reference diagrams, keep mode") << withTail << Answer::Yes << 4 << spliced;
        QTest::newRow("reference diagrams, edit mode")
            << withTail << Answer::No << 4 << head + moveLines(opening + dp) + ")" + lineEnd;

        const QByteArray oneLine = "(;C[" + QByteArray(size, 'x') + "]";
        QTest::newRow("one line without an end")
            << oneLine + ")" << Answer::No << 1 << oneLine + lineEnd + moveLines(dp) + ")" + lineEnd;

        QByteArray moves = header + lineEnd;
        const QByteArray pair = ";B[aa];W[bb]";
        while (moves.size() < size)
            moves += pair;
        moves += ")";
        // Move 4 stands in the list already; the file keeps far more moves than the table.
        QTest::newRow("main line of millions of moves") << moves << Answer::Yes << 4 << moves + lineEnd;
    }

    void largeFile()
    {
        QFETCH(QByteArray, original);
        QFETCH(Answer, mode);
        QFETCH(int, typed);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("big.sgf")), original);
        Form f;
        open(f, path, mode);
        QCOMPARE(f.currentFileName, path);
        typeMove(f, 4, 16, typed);
        const ScriptedUi ui = save(f);

        const QString backup = dir.filePath(QStringLiteral("big_bk.sgf"));
        QCOMPARE(ui.boxes.last().text, savedBox(path, backupNote(texts::BackupBefore, backup)));
        QVERIFY(readFile(backup) == original);
        QVERIFY(readFile(path) == expected);
    }

    // The text ends at a NUL byte, as the reader's contract has it. What follows it is told at
    // Open; keep mode, which would write the file back without it, refuses to save, and edit
    // mode rebuilds what was read, the whole file surviving in the backup.
    void nulByte_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<Answer>("mode");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("board");
        const QByteArray nul(1, '\0');
        const QByteArray after = header + lineEnd + closedMoveLines(opening) + nul + "(;W[dp])" + lineEnd + ")" + lineEnd;
        QTest::newRow("after the main line, keep mode") << after << Answer::Yes << after << "1 2 3";
        QTest::newRow("after the main line, edit mode")
            << after << Answer::No << header + lineEnd + moveLines(opening) + ")" + lineEnd << "1 2 3";
        const QByteArray inside = header + lineEnd + ";B[pd];W[" + nul + "dd]" + lineEnd + ";B[pp])" + lineEnd;
        QTest::newRow("inside the moves, keep mode") << inside << Answer::Yes << inside << "1";
        QTest::newRow("inside the moves, edit mode") << inside << Answer::No << header + lineEnd + ";B[pd]" + lineEnd + ")" + lineEnd << "1";
        const QByteArray trailing = header + lineEnd + closedMoveLines(opening) + nul + nul + lineEnd;
        QTest::newRow("nothing but NULs after it") << trailing << Answer::Yes << header + lineEnd + closedMoveLines(opening) << "1 2 3";
    }

    void nulByte()
    {
        QFETCH(QByteArray, original);
        QFETCH(Answer, mode);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("withnul.sgf")), original);
        Form f;
        const ScriptedUi opened = open(f, path, mode);
        QStringList numbers;
        for (const QString& p : opening) {
            const QString& text = f.cell(p[0].unicode() - 'a' + 1, p[1].unicode() - 'a' + 1).text;
            if (!text.isEmpty())
                numbers << text;
        }
        QTEST(numbers.join(QLatin1Char(' ')), "board");
        // Only text after the NUL is worth a word.
        QCOMPARE(opened.boxes.last().text.startsWith(texts::NulBox), original.contains(QByteArray("\0(", 2)) || original.contains(QByteArray("\0dd", 3)));

        const ScriptedUi ui = save(f);
        const bool refused = ui.boxes.last().kind == BoxKind::Error;
        QCOMPARE(refused, expected == original);
        QCOMPARE(readFile(path), expected);
        if (!refused)
            QCOMPARE(readFile(dir.filePath(QStringLiteral("withnul_bk.sgf"))), original);
    }

    // Every line end and none at all: the moves are read, a save writes CR LF, and the old
    // file stays as it was under its backup name.
    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray crlfFile = header + lineEnd + gameInfoLine + lineEnd + closedMoveLines(opening)
            + "(;W[dp])" + lineEnd + ")" + lineEnd;
        QByteArray cr = crlfFile;
        cr.replace("\r\n", "\r");
        QByteArray lf = crlfFile;
        lf.replace("\r\n", "\n");
        QByteArray mixed = crlfFile;
        mixed.replace(gameInfoLine + "\r\n", gameInfoLine + "\n").replace("(;W[dp])\r\n", "(;W[dp])\r");
        QByteArray noLastEnd = crlfFile;
        noLastEnd.chop(2);
        QTest::newRow("CR only") << cr << crlfFile;
        QTest::newRow("LF only") << lf << crlfFile;
        QTest::newRow("mixed") << mixed << crlfFile;
        QTest::newRow("no line end at the end") << noLastEnd << crlfFile;
        QTest::newRow("LF CR is two ends") << QByteArray(crlfFile).replace("\r\n", "\n\r")
                                           << QByteArray(crlfFile).replace("\r\n", "\r\n\r\n");
    }

    void lineEnds()
    {
        QFETCH(QByteArray, original);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("ends.sgf")), original);
        Form f;
        open(f, path, Answer::Yes);
        QCOMPARE(f.cell(16, 4).text, QStringLiteral("1"));
        QCOMPARE(f.cell(16, 16).text, QStringLiteral("3"));
        QCOMPARE(f.loadedNodeCount, 3);

        save(f);
        QTEST(readFile(path), "expected");
        QCOMPARE(readFile(dir.filePath(QStringLiteral("ends_bk.sgf"))), original);
    }

    // An empty file holds no header: the information box, and a save writes a fresh record
    // while the empty file becomes the backup.
    void emptyFile()
    {
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("empty.sgf")), QByteArray());
        Form f;
        const ScriptedUi opened = open(f, path, Answer::Yes);
        QCOMPARE(opened.boxes.size(), 2);
        QCOMPARE(opened.boxes[1].text, texts::HeaderOnlyBox);
        QVERIFY(f.gameInfo.isEmpty());
        typeMove(f, 16, 4, 1);

        const ScriptedUi ui = save(f);
        const QString backup = dir.filePath(QStringLiteral("empty_bk.sgf"));
        QCOMPARE(ui.boxes.last().text, savedBox(path, backupNote(texts::BackupBefore, backup)));
        QCOMPARE(readFile(path), header + lineEnd + ";B[pd]" + lineEnd + ")" + lineEnd);
        QVERIFY(QFileInfo::exists(backup));
        QCOMPARE(readFile(backup), QByteArray());
    }

    // Blanks (ASCII and ideographic) and Japanese in the folder and the file name: the first
    // save, a second save, and an open and save of the same file each keep every version.
    void japaneseNameWithBlanks_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("stem");
        QTest::newRow("name with .sgf") << QStringLiteral("棋譜 フォルダ　２") << QStringLiteral("名人戦 第１局 (黒番).sgf")
                                        << QStringLiteral("名人戦 第１局 (黒番)");
        QTest::newRow("name without extension") << QStringLiteral(" 先頭に空白") << QStringLiteral("対局　メモ ")
                                                << QStringLiteral("対局　メモ ");
    }

    void japaneseNameWithBlanks()
    {
        QFETCH(QString, folder);
        QFETCH(QString, chosen);
        QFETCH(QString, stem);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(folder));
        const QString base = dir.filePath(folder) + QLatin1Char('/');
        const QString path = base + stem + texts::SgfExtension;

        Form f;
        typeMove(f, 16, 4, 1);
        ScriptedUi first = save(f, base + chosen);
        QCOMPARE(first.boxes.last().text, savedBox(path));
        QCOMPARE(f.lblHyoudai, messages::editingTitle(QDir::toNativeSeparators(path)));
        const QByteArray version1 = readFile(path);

        typeMove(f, 4, 4, 2);
        const ScriptedUi second = save(f);
        const QString backup1 = base + stem + texts::BackupSuffix;
        QCOMPARE(second.boxes.last().text, savedBox(path, backupNote(texts::BackupBefore, backup1)));
        const QByteArray version2 = readFile(path);

        Form g;
        open(g, path, Answer::Yes);
        QCOMPARE(g.cell(4, 4).text, QStringLiteral("2"));
        typeMove(g, 16, 16, 3);
        const ScriptedUi third = save(g);
        const QString backup2 = base + stem + texts::BackupInsert + texts::BackupSuffix;
        QCOMPARE(third.boxes.last().text, savedBox(path, backupNote(texts::BackupBefore, backup2)));

        QCOMPARE(readFile(backup1), version1);
        QCOMPARE(readFile(backup2), version2);
        // The line that held only the closing ")" stays, emptied, before the new move.
        QCOMPARE(readFile(path), header + lineEnd + ";B[pd];W[dd]" + lineEnd + lineEnd + ";B[pp])" + lineEnd);
        QCOMPARE(names(base).size(), 3);
    }

    // A record of 1000 moves: 361 points, so at least 639 moves fall on occupied points and
    // the list of 499 rows cannot show them all. The log says so; keep mode writes the file
    // back whole; an edit-mode save rebuilds what the board and list show and keeps the file
    // whole as its backup.
    void thousandMoveRecord_data()
    {
        QTest::addColumn<Answer>("mode");
        QTest::newRow("keep mode") << Answer::Yes;
        QTest::newRow("edit mode") << Answer::No;
    }

    void thousandMoveRecord()
    {
        QFETCH(Answer, mode);
        QStringList points;
        for (int k = 0; k < 1000; ++k)
            points << QString(QChar(char16_t('a' + k % 19))) + QChar(char16_t('a' + (k / 19) % 19));
        const QByteArray original = header + lineEnd + gameInfoLine + lineEnd + closedMoveLines(points);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("long.sgf")), original);
        Form f;
        open(f, path, mode);
        QCOMPARE(f.loadedNodeCount, 1000);
        QCOMPARE(f.stringGrid1.at(0, MoveList::LastRow), QStringLiteral("860"));
        // Moves 861..999 found no list row; move 1000 has four digits.
        QVERIFY2(f.memo.contains(messages::pastListRowsLine(139)), qPrintable(f.memo));
        QVERIFY2(f.memo.contains(messages::pastMostDigitsLine(1)), qPrintable(f.memo));

        const ScriptedUi ui = save(f);
        QCOMPARE(ui.boxes.last().kind, BoxKind::Information);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("long_bk.sgf"))), original);
        const QByteArray shown = header + lineEnd + gameInfoLine + lineEnd + moveLines(points.mid(0, 860)) + ")" + lineEnd;
        QCOMPARE(readFile(path), mode == Answer::Yes ? original : shown);
    }

    // A pass of the opened file has its number: it is not missing, the rules play it as a
    // pass, and typing its number on a point is told in both modes.
    void passOfOpenedFile_data()
    {
        thousandMoveRecord_data();
    }

    void passOfOpenedFile()
    {
        QFETCH(Answer, mode);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(QStringLiteral("pass.sgf")), header + lineEnd + ";B[pd];W[];B[dd])" + lineEnd);
        Form f;
        open(f, path, mode);
        f.souTesuu = QStringLiteral("5");
        listMissingNumbers(f);
        QCOMPARE(f.stringGrid2.at(0, 1), QStringLiteral("4"));
        QCOMPARE(f.stringGrid2.at(0, 2), QStringLiteral("5"));
        const rules::Replay record = rules::replayOf(f);
        QCOMPARE(record.points[2], go::PassPoint);

        ScriptedUi ui;
        Derutoki(f, cellName(10, 10));
        f.cell(10, 10).text = QStringLiteral("2");
        NyuuRyokuGo(f, ui);
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].kind, BoxKind::Warning);
        QCOMPARE(ui.boxes[0].text, messages::passEntry(QStringLiteral("2"), mode == Answer::No, 4).box);
    }
};

QTEST_GUILESS_MAIN(TestFileFaults)
#include "tst_filefaults.moc"
