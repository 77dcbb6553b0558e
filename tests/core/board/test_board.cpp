#include "ProblemFixture.h"
#include "core/board/AnswerKey.h"
#include "core/board/BoardLayout.h"
#include "core/board/BoardState.h"
#include "core/settings/LiveSettings.h"

#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

/// Plays back fixed draws, then a fallback value.
class ScriptedRandom : public PieceRandom
{
public:
    explicit ScriptedRandom(quint32 seed) : m_generator(seed) {}
    int bounded(int low, int high) override
    {
        const int v = m_generator.bounded(low, high);
        m_draws.push_back({low, high, v});
        return v;
    }
    struct Draw
    {
        int low, high, value;
    };
    std::vector<Draw> m_draws;

private:
    QRandomGenerator m_generator;
};

} // namespace

class TestBoard : public QObject
{
    Q_OBJECT
private slots:
    void answerKey_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<int>("piece");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("female");
        QTest::addColumn<int>("verdict");
        QTest::newRow("empty") << 5 << -1 << 0 << false << int(SlotEmpty);
        QTest::newRow("piece 13 in place 12") << 12 << 13 << 0 << false << int(SlotCorrect);
        QTest::newRow("piece 13 in place 13") << 13 << 13 << 0 << false << int(SlotCorrect);
        QTest::newRow("piece 13 in place 14") << 14 << 13 << 0 << false << int(SlotWrong);
        QTest::newRow("piece 13 in place 11") << 11 << 13 << 0 << false << int(SlotWrong);
        QTest::newRow("step 3 too far") << 0 << 1 << 3 << false << int(SlotTurnedTooFar);
        QTest::newRow("step 21 upright") << 0 << 1 << 21 << false << int(SlotCorrect);
        QTest::newRow("step 2 upright") << 0 << 1 << 2 << false << int(SlotCorrect);
        QTest::newRow("step 20 too far") << 0 << 1 << 20 << false << int(SlotTurnedTooFar);
        QTest::newRow("female swap 45 in 44") << 44 << 45 << 0 << true << int(SlotCorrect);
        QTest::newRow("female swap 44 in 45") << 45 << 44 << 0 << true << int(SlotCorrect);
        QTest::newRow("male Y in X place") << 44 << 45 << 0 << false << int(SlotWrong);
        QTest::newRow("male X in XY place") << 45 << 44 << 0 << false << int(SlotWrong);
        QTest::newRow("male Y in XY place") << 45 << 45 << 0 << false << int(SlotCorrect);
        QTest::newRow("autosome in X place") << 44 << 2 << 0 << true << int(SlotWrong);
        QTest::newRow("X in autosome place") << 43 << 44 << 0 << true << int(SlotWrong);
    }
    void answerKey()
    {
        QFETCH(int, place);
        QFETCH(int, piece);
        QFETCH(int, step);
        QFETCH(bool, female);
        QFETCH(int, verdict);
        QCOMPARE(int(slotVerdict(place, piece, step, female)), verdict);
    }

    // Every step of the wheel: only the three steps either side of upright count as upright.
    void everyRotationStep_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("verdict");
        const int verdicts[24] = {1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2,
                                  2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1};
        for (int step = 0; step < 24; ++step)
            QTest::addRow("step %d", step) << step << verdicts[step];
    }
    void everyRotationStep()
    {
        QFETCH(int, step);
        QFETCH(int, verdict);
        const SlotResultCode expected = verdict == 1 ? SlotCorrect : SlotTurnedTooFar;
        QCOMPARE(slotVerdict(6, 7, step, false), expected);
        QCOMPARE(isUpright(step), verdict == 1);
    }

    void referenceLabels_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<int>("piece");
        QTest::addColumn<bool>("female");
        QTest::addColumn<QString>("label");
        QTest::newRow("empty 7") << 13 << -1 << false << "7";
        QTest::newRow("empty X") << 44 << -1 << false << "X";
        QTest::newRow("empty XY") << 45 << -1 << true << "XY";
        QTest::newRow("6 in 6") << 11 << 10 << false << "6  6";
        QTest::newRow("8 in 7") << 12 << 14 << false << "7  8";
        QTest::newRow("male Y in XY") << 45 << 45 << false << "XY  Y";
        QTest::newRow("female 45 in XY") << 45 << 45 << true << "XY  X";
        QTest::newRow("2 in X") << 44 << 3 << false << "X  2";
        QTest::newRow("Y in autosome") << 0 << 45 << false << "1  Y";
    }
    void referenceLabels()
    {
        QFETCH(int, place);
        QFETCH(int, piece);
        QFETCH(bool, female);
        QFETCH(QString, label);
        QCOMPARE(ReferenceLabel(place, piece, female), label);
    }

    void dealTurnsAndScattersEveryPiece()
    {
        QRandomGenerator random(11);
        SourceBitmaps sources;
        for (auto &s : sources)
            s = makeChromosome(12, 40, random);
        BoardState board;
        board.SlotContents[3] = 7;
        ScriptedRandom draws(42);
        const QSize spread(300, 200);
        DealPieces(board, sources, 1.0f, spread, draws);
        board.clearSlots();
        QVERIFY(std::all_of(board.SlotContents.begin(), board.SlotContents.end(),
                            [](int s) { return s == -1; }));
        QCOMPARE(int(draws.m_draws.size()), 3 * PieceCount);
        for (int n = 0; n < PieceCount; ++n) {
            QVERIFY(board.RotationStep[n] >= 0 && board.RotationStep[n] <= 22);
            QCOMPARE(draws.m_draws[3 * n].high, 23);
            const QRect r = board.pieceRect[n];
            QCOMPARE(r.size(), board.piecePicture[n].size());
            QVERIFY(r.top() >= 0 && r.top() < spread.height() - r.height() - 10);
            QVERIFY(r.left() >= 0 && r.left() < spread.width() - r.width() - 10);
            QVERIFY(board.pieceVisible[n]);
        }
    }

    void piecesLargerThanTheSpreadMayStickOutAboveAndLeft()
    {
        ScriptedRandom draws(1);
        for (int k = 0; k < 50; ++k) {
            const int v = drawOffset(draws, -30);
            QVERIFY(v >= -30 && v < 0);
        }
        QCOMPARE(drawOffset(draws, 0), 0);
    }

    void rowPlacesShareTheWidth()
    {
        const auto places = rowPlaces(803, 50, 14);
        for (int i = 0; i < 13; ++i)
            QCOMPARE(places[i], QRect(57 * i, 0, 57, 50));
        QCOMPARE(places[13], QRect(741, 0, 60, 50));
    }

    void commandColumnWidth_data()
    {
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("menuWidth");
        QTest::newRow("wide window") << 1280 << 202;
        // At most 1024 wide: a fifth of what the left part had been.
        QTest::newRow("1024") << 1024 << (1016 - 100) / 5;
    }
    void commandColumnWidth()
    {
        QFETCH(int, windowWidth);
        QFETCH(int, menuWidth);
        LayoutInput in;
        in.client = QSize(windowWidth - 8, 700);
        in.windowWidth = windowWidth;
        in.previousMenuWidth = 100;
        const BoardLayout l = computeBoardLayout(in);
        QCOMPARE(l.menuPanel.width(), menuWidth);
        QCOMPARE(l.inOutPanel.width() + l.menuPanel.width(), in.client.width());
        QCOMPARE(l.inputPanel.height(), 350);
        QCOMPARE(l.rows[3], QRect(0, 3 * 87, l.inOutPanel.width(), 87));
        QCOMPARE(l.button1.width(), menuWidth / 2);
        QCOMPARE(l.button5.left(), menuWidth / 2);
        QCOMPARE(l.button3.top(), 350 + 5 * 350 / 6);
    }

    void aProblemLoadSetsTheLiveScales()
    {
        LiveSettings chosen;
        chosen.trackBarChange(12);
        chosen.applyScale({0.5f, 0.54f, false});
        QCOMPARE(chosen.BaseScale, 0.5f);
        QCOMPARE(chosen.EffectiveScale, 0.54f);
        QCOMPARE(chosen.trackBarPosition, 12);
        QCOMPARE(chosen.CustomScale, 1);

        LiveSettings reset;
        reset.trackBarChange(12);
        reset.applyScale({0.5f, 0.45f, true});
        QCOMPARE(reset.trackBarPosition, 10);
        QCOMPARE(reset.CustomScale, 0);
        QCOMPARE(reset.EffectiveScale, 0.45f);
    }
};

QTEST_GUILESS_MAIN(TestBoard)
#include "test_board.moc"
