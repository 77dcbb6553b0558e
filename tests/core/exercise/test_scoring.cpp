#include "core/exercise/Scoring.h"

#include <QtTest>

using namespace queldo;

class TestScoring : public QObject
{
    Q_OBJECT
private slots:
    void emptyBoardIsAllMissed()
    {
        BoardState board;
        const SlotCodes codes = ScoreBoard(board, false);
        QVERIFY(std::all_of(codes.begin(), codes.end(), [](int c) { return c == -1; }));
        QCOMPARE(CorrectCount(codes), 0);
    }

    void judgesEveryPlace()
    {
        BoardState board;
        board.SlotContents[8] = 9; // pair 5 swapped within the pair
        board.SlotContents[9] = 8;
        board.SlotContents[14] = 12; // class 7 in a class 8 place
        board.SlotContents[0] = 1;
        board.RotationStep[1] = 3;
        board.SlotContents[2] = 2;
        board.RotationStep[2] = 21;
        const SlotCodes codes = ScoreBoard(board, false);
        QCOMPARE(codes[8], 1);
        QCOMPARE(codes[9], 1);
        QCOMPARE(codes[14], 0);
        QCOMPARE(codes[0], -2);
        QCOMPARE(codes[2], 1);
        QCOMPARE(CorrectCount(codes), 3);
    }

    void looks_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("piece");
        QTest::addColumn<bool>("female");
        QTest::addColumn<bool>("referenceMode");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("label");
        QTest::newRow("correct") << 3 << 1 << 2 << false << true << QColor(0x66FFFF) << "2";
        QTest::newRow("turned") << 3 << -2 << 2 << false << true << QColor(0xCCFF66) << "2";
        QTest::newRow("empty") << 3 << -1 << -1 << false << true << QColor(0xFF6600) << "2";
        QTest::newRow("7 in 8, reference mode")
            << 14 << 0 << 12 << false << true << QColor(0xFF6600) << "8 × 7";
        QTest::newRow("7 in 8, plain")
            << 14 << 0 << 12 << false << false << QColor(0xFF6600) << "8";
        QTest::newRow("X in autosome, reference mode")
            << 4 << 0 << 44 << true << true << QColor(0xFF6600) << "3 × X";
        QTest::newRow("male Y in X, reference mode")
            << 44 << 0 << 45 << false << true << QColor(0xFF6600) << "X × Y";
        QTest::newRow("male Y in X, plain")
            << 44 << 0 << 45 << false << false << QColor(0xFF6600) << "X";
        QTest::newRow("male X in XY, reference mode")
            << 45 << 0 << 44 << false << true << QColor(0xFF6600) << "Y × X";
        QTest::newRow("female X in XY")
            << 45 << 1 << 44 << true << false << QColor(0x66FFFF) << "X";
        QTest::newRow("male empty XY, plain")
            << 45 << -1 << -1 << false << false << QColor(0xFF6600) << "XY";
        QTest::newRow("male empty XY, reference mode")
            << 45 << -1 << -1 << false << true << QColor(0xFF6600) << "Y";
        QTest::newRow("female 5 in XY, reference mode")
            << 45 << 0 << 8 << true << true << QColor(0xFF6600) << "X × 5";
        QTest::newRow("male wrong XY, plain")
            << 45 << 0 << 8 << false << false << QColor(0xFF6600) << "XY";
    }
    void looks()
    {
        QFETCH(int, place);
        QFETCH(int, code);
        QFETCH(int, piece);
        QFETCH(bool, female);
        QFETCH(bool, referenceMode);
        QFETCH(QColor, colour);
        QFETCH(QString, label);
        const SlotResultLook look = ShowSlotResults(place, code, piece, female, referenceMode);
        QCOMPARE(look.colour, colour);
        QCOMPARE(look.label, label);
        QCOMPARE(look.label.contains(QChar(0x00D7)), label.contains(QStringLiteral("×")));
    }
};

QTEST_GUILESS_MAIN(TestScoring)
#include "test_scoring.moc"
