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
        QTest::addColumn<bool>("cheat");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("label");
        QTest::newRow("correct") << 3 << 1 << 2 << false << true << ColourCorrect << "2";
        QTest::newRow("turned") << 3 << -2 << 2 << false << true << ColourMisoriented << "2";
        QTest::newRow("empty") << 3 << -1 << -1 << false << true << ColourWrong << "2";
        QTest::newRow("7 in 8, cheat") << 14 << 0 << 12 << false << true << ColourWrong << "8 × 7";
        QTest::newRow("7 in 8, no cheat") << 14 << 0 << 12 << false << false << ColourWrong << "8";
        QTest::newRow("X in autosome, cheat")
            << 4 << 0 << 44 << true << true << ColourWrong << "3 × X";
        QTest::newRow("male Y in X, cheat")
            << 44 << 0 << 45 << false << true << ColourWrong << "X × Y";
        QTest::newRow("male Y in X, no cheat")
            << 44 << 0 << 45 << false << false << ColourWrong << "X";
        QTest::newRow("male X in XY, cheat")
            << 45 << 0 << 44 << false << true << ColourWrong << "Y × X";
        QTest::newRow("female X in XY") << 45 << 1 << 44 << true << false << ColourCorrect << "X";
        QTest::newRow("male empty XY, no cheat")
            << 45 << -1 << -1 << false << false << ColourWrong << "XY";
        QTest::newRow("male empty XY, cheat")
            << 45 << -1 << -1 << false << true << ColourWrong << "Y";
        QTest::newRow("female 5 in XY, cheat")
            << 45 << 0 << 8 << true << true << ColourWrong << "X × 5";
        QTest::newRow("male wrong XY, no cheat")
            << 45 << 0 << 8 << false << false << ColourWrong << "XY";
    }
    void looks()
    {
        QFETCH(int, place);
        QFETCH(int, code);
        QFETCH(int, piece);
        QFETCH(bool, female);
        QFETCH(bool, cheat);
        QFETCH(QColor, colour);
        QFETCH(QString, label);
        const SlotResultLook look = ShowSlotResults(place, code, piece, female, cheat);
        QCOMPARE(look.colour, colour);
        QCOMPARE(look.label, label);
        QCOMPARE(look.label.contains(QChar(0x00D7)), label.contains(QStringLiteral("×")));
    }
};

QTEST_GUILESS_MAIN(TestScoring)
#include "test_scoring.moc"
