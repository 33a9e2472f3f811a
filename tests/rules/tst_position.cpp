#include "rules/position.h"

#include <QtTest>

using namespace rules;

// Moves on small boards drawn in the top left corner of the 19 x 19 board ("X" black, "O"
// white, "." empty), played one after another; the verdict of the last, and the board after.
class TestPosition : public QObject {
    Q_OBJECT
private slots:
    void plays_data();
    void plays();
};

Q_DECLARE_METATYPE(Verdict)

namespace {

Position drawn(const QStringList& rows)
{
    Position p;
    for (int y = 0; y < rows.size(); ++y) {
        const QStringList fields = rows[y].split(QLatin1Char(' '));
        for (int x = 0; x < fields.size(); ++x) {
            if (fields[x] == QLatin1String("X"))
                p.stone[size_t(pointOf(x + 1, y + 1))] = Stone::Black;
            else if (fields[x] == QLatin1String("O"))
                p.stone[size_t(pointOf(x + 1, y + 1))] = Stone::White;
        }
    }
    return p;
}

QStringList drawing(const Position& p, int columns, int rows)
{
    QStringList out;
    for (int y = 1; y <= rows; ++y) {
        QStringList fields;
        for (int x = 1; x <= columns; ++x) {
            const Stone s = p.stone[size_t(pointOf(x, y))];
            fields << (s == Stone::Black ? QStringLiteral("X") : s == Stone::White ? QStringLiteral("O") : QStringLiteral("."));
        }
        out << fields.join(QLatin1Char(' '));
    }
    return out;
}

} // namespace

void TestPosition::plays_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("moves"); // "B x y" or "W x y", separated by ";"
    QTest::addColumn<Verdict>("last");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("capture on the edge") << QStringList{"O X .", ". . ."} << "B 1 2" << Verdict::Legal
                                         << QStringList{". X .", "X . ."};
    QTest::newRow("suicide refused, board unchanged") << QStringList{". O .", "O . ."} << "B 1 1" << Verdict::Suicide
                                                      << QStringList{". O .", "O . ."};
    QTest::newRow("no liberty but two captures: legal") << QStringList{". O X", "O X .", "X . ."} << "B 1 1" << Verdict::Legal
                                                        << QStringList{"X . X", ". X .", "X . ."};
    const QStringList ko{". X O .", "X O . O", ". X O ."};
    QTest::newRow("ko taken back at once") << ko << "B 3 2; W 2 2" << Verdict::Ko << QStringList{". X O .", "X . X O", ". X O ."};
    QTest::newRow("ko taken back after a move elsewhere") << ko << "B 3 2; W 10 10; B 11 11; W 2 2" << Verdict::Legal
                                                          << QStringList{". X O .", "X O . O", ". X O ."};
    // Taking one stone is no ko when the taker joins a group: the group, left with the taken
    // point as its only liberty, is taken back at once.
    QTest::newRow("snapback") << QStringList{". . X O", "X O O X", "X . . ."} << "W 1 1; B 2 1; W 1 1" << Verdict::Legal
                              << QStringList{"O . . O", "X O O X", "X . . ."};
    QTest::newRow("occupied point") << QStringList{"X O"} << "W 1 1" << Verdict::Occupied << QStringList{"X O"};
}

void TestPosition::plays()
{
    QFETCH(QStringList, before);
    QFETCH(QString, moves);
    QFETCH(QStringList, after);
    Position p = drawn(before);
    Verdict verdict = Verdict::Legal;
    int number = 0;
    for (const QString& move : moves.split(QLatin1Char(';'))) {
        const QStringList m = move.trimmed().split(QLatin1Char(' '));
        QCOMPARE(m.size(), 3);
        verdict = p.play(pointOf(m[1].toInt(), m[2].toInt()), m[0] == QLatin1String("B") ? Stone::Black : Stone::White, ++number);
    }
    QTEST(verdict, "last");
    const int columns = int(after.first().split(QLatin1Char(' ')).size());
    QCOMPARE(drawing(p, columns, int(after.size())), after);
}

QTEST_GUILESS_MAIN(TestPosition)
#include "tst_position.moc"
