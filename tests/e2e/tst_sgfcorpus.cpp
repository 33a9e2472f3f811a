#include "board/cellname.h"
#include "board/form.h"
#include "board/messages.h"
#include "board/texts.h"
#include "entry/cellentry.h"
#include "sgf/open.h"
#include "sgf/save.h"
#include "support/folders.h"
#include "support/gnugo.h"
#include "support/scriptedui.h"

#include <QtTest>

#include <map>

// SGF files that other programs wrote (servers, editors, engines, collections; see the
// README beside them) go the operator's way in both modes: opened, saved as they are, opened
// again, one move typed after the loaded ones, saved. GNU Go is the outside reader: the
// board must show the main line GNU Go plays, and every saved file must play as the original
// did, plus the typed move. Faults are counted by kind; the target for each kind is none.
class TestSgfCorpus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void corpusFile_data();
    void corpusFile();
    void cleanupTestCase();

private:
    QTemporaryDir dir_;
    // kind of fault -> files, for the held-out sources and the others.
    std::map<QString, QStringList> faults_[2];
    std::map<QString, int> refusals_;
    int rows_[2] = {0, 0};
    // Rows GNU Go could judge, and rows where a move was typed and saved.
    int judged_[2] = {0, 0};
    int typedRows_[2] = {0, 0};
};

namespace {

// Sources no change was tuned on; their counts are reported apart.
const QStringList HeldOut{QStringLiteral("glift"), QStringLiteral("katago"), QStringLiteral("computer-go-dataset")};

// Real files of other programs kept beside the repository, read in place; a machine with the
// repository alone has none.
const QString SharedSgf = QStringLiteral(RANVEL_SHARED_DATA "/sgf");

// The files made here are always read, and the shared real files where they are. The files of
// other programs' repositories are not kept in this one: scripts/get_sgf_corpus.sh copies
// them, as tests/data/sgf/sources.tsv lists them, into a folder that RANVEL_SGF_CORPUS names.
QStringList corpusFolders()
{
    QStringList folders{QStringLiteral(RANVEL_TEST_DATA "/sgf")};
    for (const QString& sub : {QStringLiteral("files"), QStringLiteral("targeted")}) {
        if (QFileInfo::exists(SharedSgf + QLatin1Char('/') + sub))
            folders << SharedSgf + QLatin1Char('/') + sub;
        else
            qInfo("%s is absent: its real files are skipped", qPrintable(SharedSgf + QLatin1Char('/') + sub));
    }
    const QByteArray more = qgetenv("RANVEL_SGF_CORPUS");
    if (!more.isEmpty())
        folders << QString::fromLocal8Bit(more);
    return folders;
}

// The shared files name their source before the first "_" ("gnugo_...", "synthetic_...").
QString sourceOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.absoluteFilePath().startsWith(QFileInfo(SharedSgf).absoluteFilePath()))
        return info.dir().dirName();
    return info.dir().dirName() + QLatin1Char('/') + info.fileName().section(QLatin1Char('_'), 0, 0);
}

// The text as lines, whatever ends them: a save writes CR LF.
QList<QByteArray> linesOf(QByteArray text)
{
    text.replace("\r\n", "\n").replace('\r', '\n');
    if (text.endsWith('\n'))
        text.chop(1);
    return text.split('\n');
}

// GNU Go's "Q16" as column and row, 1..19 from the top left; nothing for a pass.
std::optional<CellPos> pointOf(const QString& vertex)
{
    static const QString columns = QStringLiteral("ABCDEFGHJKLMNOPQRST");
    const int x = int(columns.indexOf(vertex.left(1).toUpper())) + 1;
    bool ok = false;
    const int row = vertex.mid(1).toInt(&ok);
    if (x < 1 || !ok || row < 1 || row > 19)
        return std::nullopt;
    return CellPos{x, 20 - row};
}

QString vertexOf(int x, int y)
{
    return QStringLiteral("ABCDEFGHJKLMNOPQRST").mid(x - 1, 1) + QString::number(20 - y);
}

// The board size the root writes, read with a plain search: 19 when none is given. The text
// ends at a NUL byte, for the program as for this search.
int boardSizeOf(const QByteArray& text)
{
    static const QRegularExpression size(QStringLiteral("SZ\\s*\\[\\s*(\\d+)"));
    const auto m = size.match(QString::fromLatin1(text.left(text.indexOf('\0'))));
    return m.hasMatch() ? m.captured(1).toInt() : 19;
}

// "ID[value]" of every property of the first node, found without the program's parser:
// brackets and escapes are followed, nothing else.
QStringList rootProperties(const QByteArray& text)
{
    QStringList props;
    const qsizetype start = text.indexOf(";");
    QByteArray ident;
    for (qsizetype i = start + 1; start >= 0 && i < text.size(); ++i) {
        const char c = text[i];
        if (c == ';' || c == '(' || c == ')')
            break;
        if (c >= 'A' && c <= 'Z') {
            ident += c;
        } else if (c == '[') {
            qsizetype j = i + 1;
            while (j < text.size() && text[j] != ']')
                j += text[j] == '\\' ? 2 : 1;
            props.append(QString::fromLatin1(ident + text.mid(i, j - i + 1)));
            i = j;
        } else if (c > ' ') {
            ident.clear();
        }
        if (c == ']' || (c >= 'a' && c <= 'z'))
            ident.clear();
    }
    return props;
}

// Whether a node after the first sets stones (AB, AW, AE), found with the same plain walk.
// GNU Go then plays the moves before it as stones set up, and its history is no oracle.
bool setsStonesLater(const QByteArray& text)
{
    int nodes = 0;
    QByteArray ident;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '[') {
            if (nodes > 1 && (ident == "AB" || ident == "AW" || ident == "AE"))
                return true;
            while (i < text.size() && text[i] != ']')
                i += text[i] == '\\' ? 2 : 1;
            ident.clear();
        } else if (c >= 'A' && c <= 'Z') {
            ident += c;
        } else if (c == ';') {
            ++nodes;
            ident.clear();
        } else if (c > ' ') {
            ident.clear();
        }
    }
    return false;
}

// Game trees at the top level, counted with the same plain walk.
int gameTrees(const QByteArray& text)
{
    int depth = 0;
    int trees = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '[') {
            while (i < text.size() && text[i] != ']')
                i += text[i] == '\\' ? 2 : 1;
        } else if (text[i] == '(') {
            trees += depth == 0 ? 1 : 0;
            ++depth;
        } else if (text[i] == ')' && depth > 0) {
            --depth;
        }
    }
    return trees;
}

// Opened as game information alone: Save rebuilds it, so its ")" goes on a line of its own.
bool headerOnly(const ScriptedUi& opened)
{
    return std::any_of(opened.boxes.begin(), opened.boxes.end(),
                       [](const ScriptedUi::Box& b) { return b.text == texts::HeaderOnlyBox; });
}

// Keep mode refuses to save a file whose text a NUL byte ended early, as Open said it would.
bool refusedAsTold(const ScriptedUi& opened, const ScriptedUi& saving)
{
    const bool told = std::any_of(opened.boxes.begin(), opened.boxes.end(),
                                  [](const ScriptedUi::Box& b) { return b.text.startsWith(texts::NulBox); });
    return told && !saving.boxes.isEmpty() && saving.boxes.last().text.contains(texts::NulNoSplice);
}

QByteArray withoutLineBreaks(QByteArray text)
{
    return text.replace('\r', QByteArray()).replace('\n', QByteArray());
}

// GNU Go reads a file byte by byte, so a declared double-byte character ending in "\\" or "]"
// misleads it. It reads such a file as ICU decodes it, in UTF-8.
QByteArray readableByGnuGo(const QByteArray& text)
{
    static const QRegularExpression ca(QStringLiteral("CA\\s*\\[\\s*([^\\]\\s]+)"));
    const auto m = ca.match(QString::fromLatin1(text));
    const QString name = m.captured(1).toLower();
    static const QStringList doubleByte{QStringLiteral("shift_jis"), QStringLiteral("sjis"), QStringLiteral("cp932"),
                                        QStringLiteral("gb2312"), QStringLiteral("gbk"), QStringLiteral("gb18030"),
                                        QStringLiteral("big5"), QStringLiteral("cp936"), QStringLiteral("cp950")};
    if (!doubleByte.contains(name))
        return text;
    QStringDecoder decode(name == QLatin1String("sjis") ? "Shift_JIS" : name.toLatin1().constData());
    const QString decoded = decode.isValid() ? decode(text) : QString();
    return decode.isValid() && !decode.hasError() ? decoded.toUtf8() : text;
}

std::optional<QList<GnuGoReading>> readTranscoded(const QStringList& paths)
{
    QStringList readable;
    for (const QString& path : paths) {
        const QByteArray text = readFile(path);
        const QByteArray utf8 = readableByGnuGo(text);
        if (utf8 == text) {
            readable << path;
            continue;
        }
        readable << path + QStringLiteral(".utf8.sgf");
        writeFile(readable.last(), utf8);
    }
    return readWithGnuGo(readable);
}

// Edit mode warned that it drops something; the box of a file without the marker says nothing of that.
bool warnedOfDrops(const ScriptedUi& opened)
{
    return std::any_of(opened.boxes.begin(), opened.boxes.end(), [](const ScriptedUi::Box& b) {
        return b.kind == BoxKind::Warning && !b.text.startsWith(texts::NotMultiGoBox1);
    });
}

bool saidSaved(const ScriptedUi& ui)
{
    return !ui.boxes.isEmpty() && ui.boxes.last().kind == BoxKind::Information
        && ui.boxes.last().text.startsWith(texts::Saved);
}

// The highest move the log names after an open: what the operator types the next move after.
// A file of game information alone names none; its first move is 1.
int highestLogged(const QString& memo)
{
    const QRegularExpression line(QRegularExpression::escape(texts::HighestLoaded) + QStringLiteral("(\\d+)")
                                  + QRegularExpression::escape(texts::Te));
    int highest = 0;
    for (auto it = line.globalMatch(memo); it.hasNext();)
        highest = it.next().captured(1).toInt();
    return highest;
}

struct Opened {
    Form form;
    ScriptedUi ui;
    bool refused = false;
    QString refusal;
};

// Opens in the mode given, answering OK to every later question, as an operator who wants
// the file does.
void openFile(Opened& o, const QString& path, Answer mode)
{
    o.ui.answers = {mode};
    o.ui.openPaths = {path};
    FileHiraku(o.form, o.ui);
    for (const ScriptedUi::Box& b : o.ui.boxes) {
        if (b.kind == BoxKind::Error) {
            o.refused = true;
            o.refusal = b.text;
        }
    }
}

// A point that GNU Go's final position leaves empty, beside another empty one (so the move
// is legal), whose cell is free to type into.
std::optional<CellPos> freePoint(const Form& f, const GnuGoReading& r)
{
    QSet<QString> taken;
    for (const QString& v : r.blackStones + r.whiteStones)
        taken.insert(v);
    const auto empty = [&](int x, int y) {
        return x >= 1 && x <= 19 && y >= 1 && y <= 19 && !taken.contains(vertexOf(x, y));
    };
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const Cell& c = f.cell(x, y);
            if (!c.enabled || !c.text.isEmpty() || !empty(x, y))
                continue;
            if (empty(x - 1, y) || empty(x + 1, y) || empty(x, y - 1) || empty(x, y + 1))
                return CellPos{x, y};
        }
    }
    return std::nullopt;
}

// The board and the list of moves on taken points hold GNU Go's main line: each move's
// number on its point (the first one there) or in the list, in its colour.
QString boardFault(const Form& f, const GnuGoReading& r)
{
    QSet<QString> shown;
    for (int k = 1; k <= r.history.size(); ++k) {
        const QStringList move = r.history[k - 1].split(QLatin1Char(' '));
        const auto p = pointOf(move.value(1));
        if (!p)
            continue;
        const QString number = QString::number(k);
        const Cell& c = f.cell(p->x, p->y);
        if (c.text == number) {
            if ((c.background == colours::Black) != (move[0] == QLatin1String("black")))
                return QStringLiteral("move %1 has the wrong colour").arg(k);
            continue;
        }
        bool listed = false;
        for (int row = 1; row < MoveList::Rows && !listed; ++row)
            listed = f.stringGrid1.at(0, row) == number;
        if (!listed)
            return QStringLiteral("move %1 (%2) is not on the board").arg(k).arg(r.history[k - 1]);
    }
    return {};
}

} // namespace

void TestSgfCorpus::initTestCase()
{
    QVERIFY(dir_.isValid());
    if (gnuGoProgram().isEmpty())
        QFAIL("GNU Go is not installed (Debian package gnugo): it reads back every saved file.");
}

void TestSgfCorpus::corpusFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("source");
    QTest::addColumn<Answer>("mode");
    QStringList files;
    for (const QString& folder : corpusFolders()) {
        QDirIterator it(folder, {QStringLiteral("*.sgf")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
    }
    files.sort();
    // Without the other programs' files, those made here alone.
    const bool others = !qEnvironmentVariableIsEmpty("RANVEL_SGF_CORPUS") || QFileInfo::exists(SharedSgf);
    QVERIFY(files.size() >= (others ? 100 : 4));
    for (const QString& path : files) {
        const QString source = sourceOf(path);
        const QString name = QFileInfo(path).dir().dirName() + QLatin1Char('/') + QFileInfo(path).fileName();
        QTest::newRow(qPrintable(name + QStringLiteral(", keep"))) << path << source << Answer::Yes;
        QTest::newRow(qPrintable(name + QStringLiteral(", edit"))) << path << source << Answer::No;
    }
}

void TestSgfCorpus::corpusFile()
{
    QFETCH(QString, path);
    QFETCH(QString, source);
    QFETCH(Answer, mode);
    const bool keep = mode == Answer::Yes;
    const int group = HeldOut.contains(source) ? 1 : 0;
    ++rows_[group];
    const QString row = QString::fromLatin1(QTest::currentDataTag());
    QStringList found;
    const auto fault = [&](const QString& kind, const QString& what) {
        faults_[group][kind].append(row);
        found.append(kind + QStringLiteral(": ") + what);
    };

    const QByteArray original = readFile(path);
    const QString name = QString::number(rows_[0] + rows_[1]);
    const QString plain = dir_.filePath(name + QStringLiteral("_plain.sgf"));
    const QString typed = dir_.filePath(name + QStringLiteral("_typed.sgf"));
    writeFile(plain, original);
    writeFile(typed, original);

    Opened first;
    openFile(first, plain, mode);
    const int size = boardSizeOf(original);
    if (first.refused) {
        // A refusal names its reason after the label, and leaves the file as it was.
        const qsizetype at = first.refusal.indexOf(texts::ReasonLabel);
        const QString reason = at < 0 ? QString() : first.refusal.mid(at + texts::ReasonLabel.size());
        if (reason.trimmed().isEmpty())
            fault(QStringLiteral("refusal without a reason"), first.refusal);
        refusals_[reason.section(QLatin1Char(' '), 0, 0).section(QChar(0x3000), 0, 0)] += 1;
        if (readFile(plain) != original)
            fault(QStringLiteral("data lost"), QStringLiteral("a refused file changed"));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
        return;
    }
    if (size != 19)
        fault(QStringLiteral("wrong board size"), QStringLiteral("a %1x%1 game was opened").arg(size));

    // GNU Go may not read the file at all.
    const auto before = readTranscoded({plain});
    const GnuGoReading gnu = before ? before->first() : GnuGoReading();
    // GNU Go is no oracle for a file it cannot play through, nor for a main line longer than
    // the 500 moves its history remembers (it forgets the first ones).
    const bool oracle = gnu.loaded && gnu.complaints.isEmpty() && size == 19 && !setsStonesLater(original)
        && gnu.history.size() < 400;
    for (const ScriptedUi::Box& b : first.ui.boxes) {
        if (b.text.startsWith(texts::HeaderOnlyBox.left(8)) && oracle && !gnu.history.isEmpty())
            fault(QStringLiteral("misleading box"), QStringLiteral("header-only box for %1 moves").arg(gnu.history.size()));
    }
    judged_[group] += oracle ? 1 : 0;
    if (oracle) {
        if (const QString wrong = boardFault(first.form, gnu); !wrong.isEmpty())
            fault(QStringLiteral("moves changed"), QStringLiteral("opened board: ") + wrong);
    }

    // Saved as it was opened.
    ScriptedUi saveUi;
    Hozon(first.form, saveUi);
    const QByteArray plainSaved = readFile(plain);
    if (refusedAsTold(first.ui, saveUi)) {
        if (plainSaved != original)
            fault(QStringLiteral("data lost"), QStringLiteral("a refused save changed the file"));
    } else if (!saidSaved(saveUi)) {
        fault(QStringLiteral("misleading box"), QStringLiteral("an unchanged file was not saved: ")
                                                    + (saveUi.boxes.isEmpty() ? QString() : saveUi.boxes.last().text));
    } else if (keep && linesOf(plainSaved) != linesOf(original)
               && !(headerOnly(first.ui) && withoutLineBreaks(plainSaved) == withoutLineBreaks(original))) {
        fault(QStringLiteral("keep mode changed the file"), QStringLiteral("saved without a change"));
    } else if (!keep && oracle) {
        // Edit mode rebuilds the moves; what it cannot keep it must have named.
        const auto rebuilt = readTranscoded({plain});
        QVERIFY(rebuilt);
        const GnuGoReading& r = rebuilt->first();
        const bool warned = warnedOfDrops(first.ui);
        if (!warned && r.history != gnu.history)
            fault(QStringLiteral("moves changed"), QStringLiteral("edit mode saved another main line"));
        else if (!warned && (r.blackStones != gnu.blackStones || r.whiteStones != gnu.whiteStones))
            fault(QStringLiteral("data lost"), QStringLiteral("edit mode dropped stones without a word"));
        if (!warned && gameTrees(original) > 1 && gameTrees(plainSaved) < gameTrees(original))
            fault(QStringLiteral("data lost"), QStringLiteral("edit mode dropped other games without a word"));
    }

    // Opened again, one move typed after the highest loaded one, saved.
    Opened second;
    openFile(second, typed, mode);
    const int highest = highestLogged(second.form.memo);
    const std::optional<CellPos> freeCell = oracle ? freePoint(second.form, gnu) : std::nullopt;
    const QStringList rootBefore = rootProperties(linesOf(original).join('\n'));
    if (freeCell) {
        const CellPos point = *freeCell;
        ScriptedUi typing;
        Derutoki(second.form, cellName(point.x, point.y));
        second.form.cell(point.x, point.y).text = QString::number(highest + 1);
        NyuuRyokuGo(second.form, typing);
        if (!typing.boxes.isEmpty())
            fault(QStringLiteral("misleading box"), QStringLiteral("typing the next move: ") + typing.boxes.first().text);
        ScriptedUi typedUi;
        Hozon(second.form, typedUi);
        ++typedRows_[group];
        const QByteArray typedSaved = readFile(typed);
        // The standard build leaves a file of game information alone on an empty board with
        // black to move, unless the operator chooses otherwise.
        const QString toPlay = headerOnly(second.ui) ? QStringLiteral("black") : gnu.nextToPlay;
        const QString next = toPlay + QLatin1Char(' ') + vertexOf(point.x, point.y);
        const auto after = readTranscoded({plain, typed});
        QVERIFY(after);
        // What edit mode said it drops may change the main line before the typed move.
        const bool warnedDrop = !keep && warnedOfDrops(second.ui);
        const QStringList& read = after->at(1).history;
        const bool holdsMove = after->at(1).loaded
            && (read == gnu.history + QStringList{next} || (warnedDrop && !read.isEmpty() && read.last() == next));
        if (saidSaved(typedUi) && !holdsMove) {
            const bool lost = after->at(1).history.size() <= gnu.history.size();
            fault(lost ? QStringLiteral("typed move lost") : QStringLiteral("moves changed"),
                  QStringLiteral("GNU Go reads %1 moves, last %2; expected %3")
                      .arg(after->at(1).history.size())
                      .arg(after->at(1).history.value(after->at(1).history.size() - 1), next));
        } else if (!saidSaved(typedUi) && !refusedAsTold(second.ui, typedUi)) {
            fault(QStringLiteral("misleading box"),
                  QStringLiteral("the typed move was not saved: ") + (typedUi.boxes.isEmpty() ? QString() : typedUi.boxes.last().text));
        }
        if (saidSaved(typedUi) && keep) {
            // The new node goes in on a line of its own where the main line ended, and
            // nothing else changes.
            const QByteArray node = ';' + QByteArray(next.startsWith(QLatin1String("black")) ? "B" : "W") + '['
                + QByteArray(1, char('a' + point.x - 1)) + char('a' + point.y - 1) + ']';
            const QByteArray savedText = linesOf(typedSaved).join('\n');
            const QByteArray loadedText = linesOf(original).join('\n');
            // A main line the file never closed is closed after the new move.
            const qsizetype at = savedText.indexOf('\n' + node);
            const QByteArray rest = savedText.mid(at + node.size() + 1);
            const QByteArray without = savedText.left(at) + rest;
            const QByteArray unclosed = savedText.left(at) + rest.mid(rest.startsWith(')') ? 1 : 0);
            // A file of game information alone is rebuilt: the root, the move, ")" on a line of its own.
            const bool rebuilt = headerOnly(second.ui) && withoutLineBreaks(without) == withoutLineBreaks(loadedText);
            if (at < 0 || (without != loadedText && unclosed != loadedText && !rebuilt))
                fault(QStringLiteral("keep mode changed the file"), QStringLiteral("more than the typed move changed"));
        }
        if (saidSaved(typedUi) && !keep) {
            const QStringList rootAfter = rootProperties(linesOf(typedSaved).join('\n'));
            for (const QString& p : rootBefore) {
                if (!rootAfter.contains(p)) {
                    fault(QStringLiteral("data lost"), QStringLiteral("edit mode dropped the root's ") + p);
                    break;
                }
            }
        }
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

void TestSgfCorpus::cleanupTestCase()
{
    for (int group = 0; group < 2; ++group) {
        int files = 0;
        for (const auto& [kind, rows] : faults_[group])
            files += int(rows.size());
        qInfo("%s: %d rows, %d judged by GNU Go, %d with a typed move; %d faults",
              group ? "held-out sources" : "tuned sources", rows_[group], judged_[group], typedRows_[group], files);
        for (const auto& [kind, rows] : faults_[group])
            qInfo("  %s: %d (%s)", qPrintable(kind), int(rows.size()), qPrintable(rows.join(QStringLiteral("; "))));
    }
    for (const auto& [reason, count] : refusals_)
        qInfo("refused, %s: %d", qPrintable(reason), count);
}

QTEST_GUILESS_MAIN(TestSgfCorpus)
#include "tst_sgfcorpus.moc"
