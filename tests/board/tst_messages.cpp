#include "board/messages.h"

#include <QtTest>

// The system's wordings, letter for letter, blanks and widths included: the other tests build
// their expected boxes and log lines with these functions, and this table holds the functions
// to the words.
class TestMessages : public QObject {
    Q_OBJECT

private slots:
    void wordings_data();
    void wordings();
};

void TestMessages::wordings_data()
{
    QTest::addColumn<QString>("made");
    QTest::addColumn<QString>("wording");
    QTest::newRow("duplicate, box") << messages::duplicateEntry(QStringLiteral("12"), 3, 4).box << QStringLiteral("手番12は既に入力があります！\r\n\r\n   重複場所　横3縦4\r\n\r\n相対手番ではないですか？\r\n相対手番なら一度入力値を消して相対手数入力後、\r\n再度入力して下さい。\r\n");
    QTest::newRow("duplicate, log") << messages::duplicateEntry(QStringLiteral("12"), 3, 4).log << QStringLiteral("手番12は既に入力があります！   重複場所　横3縦4\r\n相対手番ではないですか？\r\n相対手番なら一度入力値を消して相対手数入力後、\r\n再度入力して下さい。\r\n");
    QTest::newRow("too many digits, box") << messages::tooManyDigits(QStringLiteral("1234")).box << QStringLiteral("入力された手番は桁数が多すぎます！\r\n\r\n   1234手");
    QTest::newRow("too many digits, log") << messages::tooManyDigits(QStringLiteral("1234")).log << QStringLiteral("入力された手番は桁数が多すぎます！   1234手");
    QTest::newRow("list row") << messages::listRowLine(QStringLiteral("57"), QStringLiteral("a"), QStringLiteral("  数字以外のデータが入力されています！")) << QStringLiteral("ﾘｽﾄﾎﾞｯｸｽ手番57 入力値a  数字以外のデータが入力されています！");
    QTest::newRow("search, standard") << messages::searchBox(QStringLiteral("88"), true) << QStringLiteral("手番を検索します！\r\n\r\n    88手\r\n\r\n検索結果は処理情報に表示します。\r\n");
    QTest::newRow("search, small") << messages::searchBox(QStringLiteral("88"), false) << QStringLiteral("手番を検索します！\r\n\r\n    88手\r\n");
    QTest::newRow("gap") << messages::gapLine(7) << QStringLiteral("途中の手番が抜けています！　手番　7手");
    QTest::newRow("invalid data, box") << messages::invalidData().box << QStringLiteral("データに不正があるため保存作業を中止します！\r\n\r\nデータを修正して下さい。");
    QTest::newRow("invalid data, log") << messages::invalidData().log << QStringLiteral("不正ﾃﾞｰﾀ　保存中止！");
    QTest::newRow("title") << messages::editingTitle(QStringLiteral("C:\\棋譜\\a.sgf")) << QStringLiteral("編集中のファイル　C:\\棋譜\\a.sgf");
    QTest::newRow("saved") << messages::saved(QStringLiteral("a.sgf"), QString()).box << QStringLiteral("保存しました！\r\n\r\n  ﾌｧｲﾙ名: a.sgf");
    QTest::newRow("saved with backup") << messages::saved(QStringLiteral("a.sgf"), messages::backupNote(QStringLiteral("// 既に同名のﾌｧｲﾙがあり、"), QStringLiteral("a.sgf.bak"))).box << QStringLiteral("保存しました！\r\n\r\n  ﾌｧｲﾙ名: a.sgf\r\n\r\n// 既に同名のﾌｧｲﾙがあり、\r\n//\r\n//     a.sgf.bak\r\n//\r\n// として保存しました。");
    QTest::newRow("opened") << messages::openLine(QStringLiteral("a.sgf")) << QStringLiteral("ﾌｧｲﾙ開く　a.sgf");
    QTest::newRow("highest loaded") << messages::highestLoadedLine(0) << QStringLiteral("読込最大手数　0手");
    QTest::newRow("new") << messages::newConfirm() << QStringLiteral("現在編集中のデータを破棄して\r\n\r\n新規作成しますか？");
    QTest::newRow("quit, box") << messages::quitQuestion().box << QStringLiteral("RanvelZek\r\n\r\nプログラムを終了しますか？");
    QTest::newRow("quit, log") << messages::quitQuestion().log << QStringLiteral("プログラムを終了しますか？");
}

void TestMessages::wordings()
{
    QFETCH(QString, made);
    QTEST(made, "wording");
}

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
