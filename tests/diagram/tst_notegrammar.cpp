#include "diagram/notegrammar.h"

#include <QtTest>

// The notes and captions printed beside a diagram, in the forms of English, Japanese, Korean
// and Chinese books, as the recogniser hands them over: full-width or plain, with its blanks.
class TestNoteGrammar : public QObject {
    Q_OBJECT
private slots:
    void readsPage_data();
    void readsPage();
};

void TestNoteGrammar::readsPage_data()
{
    QTest::addColumn<QStringList>("lines");
    // The notes as "move at place", "?" for a note in doubt, ";" between them.
    QTest::addColumn<QString>("notes");
    // "first-last", "" when no caption; "+B"/"+W" for the side to move.
    QTest::addColumn<QString>("caption");

    QTest::newRow("English at, a run of them") << QStringList{"232 at a, 237 at 229, 240 at a"}
                                               << "232 at a;237 at 229;240 at a" << "";
    QTest::newRow("several moves on one point") << QStringList{"236, 243 at 134   250 at 3"}
                                                << "236 at 134;243 at 134;250 at 3" << "";
    QTest::newRow("a stone without a number") << QStringList{"84, 85 に B　86 に 43"} << "84 at B;85 at B;86 at 43" << "";
    QTest::newRow("Japanese brackets, full-width") << QStringList{"５２（３３）、５５（３３）"} << "52 at 33;55 at 33" << "";
    QTest::newRow("plain brackets and equals") << QStringList{"52(33), 58=12 61 = 40"} << "52 at 33;58 at 12;61 at 40"
                                               << "";
    QTest::newRow("ko words, blanks as read") << QStringList{"152 コウ取る(67)、155 コ ウ (70)、158 取る（67）"}
                                              << "152 at 67;155 at 70;158 at 67" << "";
    QTest::newRow("same point, takes, pass") << QStringList{"53 同、60 取る、263 パス 264 pass"}
                                             << "53 at 52;60 ?;263 pass;264 pass" << "";
    QTest::newRow("Korean") << QStringList{"52 패 (33), 55 에 40, 61 따냄(12), 270 패스"}
                            << "52 at 33;55 at 40;61 at 12;270 pass" << "";
    QTest::newRow("Chinese") << QStringList{"52 提劫(33)、55=33、58 于 20"} << "52 at 33;55 at 33;58 at 20" << "";
    QTest::newRow("as read: blanks lost, a comma as a stop, a run over two lines")
        << QStringList{"43 at36 92at40 146, 152, 158. 164 at 138 184, 192.", "198 at 156 «187.195 at 89"}
        << "43 at 36;92 at 40;146 at 138;152 at 138;158 at 138;164 at 138;184 at 156;192 at 156;198 at 156;187 at 89;195 at 89"
        << "";
    QTest::newRow("a speck leaves only its neighbours in doubt") << QStringList{"52 at 33 | 55 at 40 ¦ 58 at 41 and 61 at 3"}
                                                                 << "52 at 33;55 at 40;58 at 41?;61 at 3?" << "";
    QTest::newRow("marked stone") << QStringList{"210 at △"} << "210 at ^" << "";
    QTest::newRow("commentary leaves its notes in doubt")
        << QStringList{"White 12 at 14 would have been better"} << "12 at 14?" << "";
    QTest::newRow("a misread digit is no number") << QStringList{"84, 8S に B"} << "" << "";
    QTest::newRow("numbers alone say nothing") << QStringList{"1 2 3 4 5 6 7 8 9 10", "A B C D E F G H J K"} << ""
                                               << "";
    QTest::newRow("Japanese words alone") << QStringList{"攻めハネ本局隅黒本局限定石後手。"} << "" << "";

    QTest::newRow("English caption") << QStringList{"Figure 3 (201–325)"} << "" << "201-325";
    QTest::newRow("caption with title and side") << QStringList{"Fig. 2 (101-200)  Black to play"} << "" << "101-200+B";
    QTest::newRow("Japanese caption, wave dash") << QStringList{"第3譜 (201〜325)  本因坊戦"} << "" << "201-325";
    QTest::newRow("Japanese caption, full-width") << QStringList{"第２譜（１０１～２００）　白番"} << "" << "101-200+W";
    QTest::newRow("wave dash read as a long vowel") << QStringList{"第3譜 (171ー287)"} << "" << "171-287";
    QTest::newRow("Korean caption") << QStringList{"제2보 (101~200) 흑선"} << "" << "101-200+B";
    QTest::newRow("Chinese caption") << QStringList{"第2谱（101—200）"} << "" << "101-200";
    QTest::newRow("range alone") << QStringList{"(101-200)"} << "" << "101-200";
    QTest::newRow("range without brackets") << QStringList{"101–200"} << "" << "101-200";
    QTest::newRow("a range the wrong way is none") << QStringList{"(200-101)"} << "" << "";
    QTest::newRow("caption and notes") << QStringList{"Figure 1 (1-263)", "213 at 87   223 at 94"}
                                       << "213 at 87;223 at 94" << "1-263";
}

void TestNoteGrammar::readsPage()
{
    QFETCH(QStringList, lines);
    std::vector<diagram::TextLine> read;
    for (const QString& l : lines)
        read.push_back(diagram::textLine(l.toStdString()));
    const diagram::PageWords words = diagram::parsePageWords(read);
    QStringList got;
    for (const diagram::TextNote& n : words.notes)
        got.append(QString::fromStdString(diagram::textNoteText(n)));
    QTEST(got.join(';'), "notes");
    QString range;
    if (words.caption.first > 0)
        range = QString("%1-%2").arg(words.caption.first).arg(words.caption.last);
    if (words.caption.toPlay != diagram::Stone::Empty)
        range += words.caption.toPlay == diagram::Stone::Black ? "+B" : "+W";
    QTEST(range, "caption");
}

QTEST_APPLESS_MAIN(TestNoteGrammar)
#include "tst_notegrammar.moc"
