#include "ProblemFixture.h"
#include "core/board/ChromosomeBitmapOps.h"
#include "core/board/Placement.h"

#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

struct Fixture
{
    BoardState board;
    SourceBitmaps sources;
    PlacementContext context;
    int reloads = 0;
    bool reloadFails = false;

    Fixture()
    {
        QRandomGenerator random(17);
        for (auto &s : sources)
            s = makeChromosome(12, 40, random);
        for (int n = 0; n < PieceCount; ++n) {
            board.RotationStep[n] = n % 23;
            board.piecePicture[n] = renderPiece(sources[n], 1.0f, board.RotationStep[n]);
            board.pieceRect[n] = QRect(QPoint(10 * n, 5), board.piecePicture[n].size());
        }
        context.referenceMode = true;
    }
    DropOutcome drop(int piece, int place)
    {
        return dropIntoPlace(board, sources, piece, place, QSize(57, 50), context, [this](int p) {
            ++reloads;
            return reloadFails ? BitmapDecodeResult{{}, "gone"}
                               : BitmapDecodeResult{sources[p], {}};
        });
    }
    static QStringList texts(const DropOutcome &o)
    {
        QStringList t;
        for (const auto &l : o.labels)
            t << QStringLiteral("%1:%2").arg(l.place).arg(l.text);
        return t;
    }
};

} // namespace

class TestPlacement : public QObject
{
    Q_OBJECT
private slots:
    void movingBetweenPlacesEmptiesTheOldOne()
    {
        Fixture f;
        f.board.SelectedPiece = 10;
        QVERIFY(f.drop(10, 10).accepted);
        QCOMPARE(f.board.SelectedPiece, -1);
        const DropOutcome moved = f.drop(10, 11);
        QVERIFY(moved.accepted);
        QCOMPARE(f.board.SlotContents[10], -1);
        QCOMPARE(f.board.SlotContents[11], 10);
        QCOMPARE(Fixture::texts(moved), (QStringList{"10:6", "11:6  6"}));
        QCOMPARE(f.board.placeOf(10), 11);
    }

    void occupiedPlacesAndTheLowerAreaRefuse()
    {
        Fixture f;
        QVERIFY(f.drop(3, 5).accepted);
        const BoardState before = f.board;
        f.board.SelectedPiece = 4;
        for (auto [piece, place] : {std::pair{4, 5}, std::pair{3, 5}, std::pair{4, -1}}) {
            const DropOutcome refused = f.drop(piece, place);
            QVERIFY(!refused.accepted);
            QVERIFY(refused.labels.empty());
            QCOMPARE(f.board.SlotContents, before.SlotContents);
            QCOMPARE(f.board.SelectedPiece, -1);
        }
        QCOMPARE(f.reloads, 1);
    }

    void referenceLabelsOfSexPlaces()
    {
        Fixture f;
        QCOMPARE(Fixture::texts(f.drop(45, 45)), QStringList{"45:XY  Y"});
        QCOMPARE(Fixture::texts(f.drop(3, 44)), QStringList{"44:X  2"});
        f.context.referenceMode = false;
        QVERIFY(f.drop(7, 7).labels.empty());
    }

    void placedPieceIsCentredWithTheRowMargin()
    {
        Fixture f;
        f.drop(0, 0);
        const QRect r = f.board.pieceRect[0];
        QCOMPARE(r.left(), (57 - r.width()) / 2);
        QCOMPARE(r.top(), (50 - r.height()) / 2 + RowMargin);
        QCOMPARE(f.board.piecePicture[0].size(), renderPiece(f.sources[0], 1.0f, 0).size());
    }

    void alignmentModeStandsThePieceUpright()
    {
        Fixture f;
        f.context.alignmentMode = true;
        f.board.RotationStep[6] = 5;
        f.drop(6, 6);
        QCOMPARE(f.board.RotationStep[6], 0);
        QCOMPARE(f.board.piecePicture[6], renderUpright(f.sources[6], 1.0f));
    }

    void unreadableFileCompletesWithThePictureInMemory()
    {
        Fixture f;
        f.reloadFails = true;
        QVERIFY(f.drop(8, 9).accepted);
        QCOMPARE(f.board.SlotContents[9], 8);
        QVERIFY(!f.board.piecePicture[8].isNull());
    }

    void spreadDropsStayInsideRightAndBottom_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QPoint>("topLeft");
        const QSize piece = Fixture().board.pieceRect[2].size();
        QTest::newRow("centred") << QPoint(100, 80)
                                 << QPoint(100 - piece.width() / 2, 80 - piece.height() / 2);
        QTest::newRow("bottom right corner")
            << QPoint(399, 299) << QPoint(400 - piece.width(), 300 - piece.height());
        QTest::newRow("past the top left")
            << QPoint(1, 1) << QPoint(1 - piece.width() / 2, 1 - piece.height() / 2);
    }
    void spreadDropsStayInsideRightAndBottom()
    {
        QFETCH(QPoint, pointer);
        QFETCH(QPoint, topLeft);
        Fixture f;
        f.drop(2, 2);
        f.board.pieceRect[2].moveTo(0, 0);
        const DropOutcome back = dropOnSpread(f.board, 2, pointer, QSize(400, 300), f.context);
        QCOMPARE(f.board.pieceRect[2].topLeft(), topLeft);
        QCOMPARE(f.board.SlotContents[2], -1);
        QCOMPARE(Fixture::texts(back), QStringList{"2:2"});
        // Moving within the spread rewrites no label.
        QVERIFY(dropOnSpread(f.board, 2, pointer, QSize(400, 300), f.context).labels.empty());
    }

    void wheelTurnsAboutTheRecordedCentre()
    {
        Fixture f;
        f.board.PiecesMovable = 1;
        f.board.RotationStep[12] = 0;
        f.board.pieceRect[12] = QRect(QPoint(50, 60), renderPiece(f.sources[12], 1.0f, 0).size());
        selectPiece(f.board, 12);
        const QPoint centre = f.board.PieceCentre[12];
        const QSize size = f.board.pieceRect[12].size();
        QVERIFY(turnSelectedPiece(f.board, f.sources, -120, 1.0f));
        QCOMPARE(f.board.RotationStep[12], 23);
        for (int notch = 0; notch < 23; ++notch)
            QVERIFY(turnSelectedPiece(f.board, f.sources, -120, 1.0f));
        QCOMPARE(f.board.RotationStep[12], 0);
        QCOMPARE(f.board.pieceRect[12].size(), size);
        QCOMPARE(f.board.pieceRect[12].left() + size.width() / 2, centre.x());
        QCOMPARE(f.board.pieceRect[12].top() + size.height() / 2, centre.y());
        for (int notch = 0; notch < 24; ++notch)
            turnSelectedPiece(f.board, f.sources, 120, 1.0f);
        QCOMPARE(f.board.RotationStep[12], 0);
    }

    void wheelDoesNothingUnselectedOrBeforeStart()
    {
        Fixture f;
        f.board.PiecesMovable = 1;
        QVERIFY(!turnSelectedPiece(f.board, f.sources, 120, 1.0f));
        selectPiece(f.board, 3);
        f.board.PiecesMovable = 0;
        const int step = f.board.RotationStep[3];
        QVERIFY(!turnSelectedPiece(f.board, f.sources, 120, 1.0f));
        QCOMPARE(f.board.RotationStep[3], step);
    }

    void leavingTheSelectedSquareDropsTheChoice()
    {
        Fixture f;
        f.board.pieceRect[4] = QRect(100, 100, 20, 60);
        selectPiece(f.board, 4);
        pointerOverSpread(f.board, QPoint(150, 150)); // inside the 60 x 60 square
        QCOMPARE(f.board.SelectedPiece, 4);
        pointerOverSpread(f.board, QPoint(161, 150));
        QCOMPARE(f.board.SelectedPiece, -1);
    }

    void settingsOkLabelsTheXYPlaceUnlessAlignmentMode_data()
    {
        QTest::addColumn<bool>("reference");
        QTest::addColumn<bool>("alignment");
        QTest::addColumn<QString>("place45");
        QTest::addColumn<QString>("place3");
        QTest::newRow("reference, no alignment") << true << false << "XY"
                                                 << "2  Y";
        QTest::newRow("reference and alignment") << true << true << "XY  Y"
                                                 << "2  Y";
        QTest::newRow("plain") << false << false << "XY"
                               << "2";
        QTest::newRow("plain with alignment") << false << true << "XY"
                                              << "2";
    }
    void settingsOkLabelsTheXYPlaceUnlessAlignmentMode()
    {
        QFETCH(bool, reference);
        QFETCH(bool, alignment);
        QFETCH(QString, place45);
        QFETCH(QString, place3);
        BoardState board;
        board.SlotContents[45] = 45;
        board.SlotContents[3] = 45;
        const std::vector<LabelUpdate> labels =
            settingsDialogLabels(board, false, reference, alignment);
        QCOMPARE(int(labels.size()), 46);
        QCOMPARE(labels[45].text, place45);
        QCOMPARE(labels[3].text, place3);
        QCOMPARE(labels[44].text, QStringLiteral("X"));
    }
};

QTEST_GUILESS_MAIN(TestPlacement)
#include "test_placement.moc"
