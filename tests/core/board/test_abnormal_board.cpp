#include "ProblemFixture.h"
#include "core/board/AnswerKey.h"
#include "core/board/AnyProblemLoader.h"
#include "core/board/BoardLayout.h"
#include "core/board/ChromosomeId.h"
#include "core/board/ProblemFolder.h"
#include "core/board/ProblemLibrary.h"
#include "core/exercise/Scoring.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace queldo;
using namespace queldo::test;

namespace {

constexpr int X = 22;
constexpr int Y = 23;

/// The chromosomes of a cell in the order its pictures are filed: by class, X's before Y's.
/// Autosomes are given by their number (21 for chromosome 21).
QList<int> cell(const QString &sex, const QList<int> &gained = {}, const QList<int> &lost = {})
{
    QList<int> chromosomes;
    for (int c = 1; c <= 22; ++c) {
        const int copies = 2 + int(gained.count(c)) - int(lost.count(c));
        for (int k = 0; k < copies; ++k)
            chromosomes << c - 1;
    }
    for (QChar s : sex)
        chromosomes << (s == QLatin1Char('X') ? X : Y);
    return chromosomes;
}

using Moves = QList<QPair<int, int>>; // from place, to place (-1: the spread)
using Codes = QList<QPair<int, int>>; // place, expected code

BoardState answerBoard(const CellKey &key)
{
    BoardState board;
    board.pieceCount = key.pieceCount;
    board.placeCount = key.placeCount();
    const auto places = answerPlaces(key);
    for (int piece = 0; piece < key.pieceCount; ++piece)
        board.SlotContents[std::size_t(places[std::size_t(piece)])] = piece;
    return board;
}

} // namespace

class TestAbnormalBoard : public QObject
{
    Q_OBJECT
private slots:
    // Each row starts from the correct karyogram and moves pieces, all at once (so a pair of
    // moves swaps two pieces). Places 46 to 49 are the spare places of rows 1 to 4.
    void verdictsOfAnAbnormalCell_data()
    {
        QTest::addColumn<QList<int>>("chromosomes");
        QTest::addColumn<Moves>("moves");
        QTest::addColumn<Codes>("codes");
        QTest::addColumn<int>("correct");
        const QList<int> trisomy21 = cell("XY", {21});
        QTest::newRow("+21 as answered: third 21 in row 4's spare, the others rightly empty")
            << trisomy21 << Moves{} << Codes{{40, 1}, {41, 1}, {49, 1}, {46, 2}, {47, 2}, {48, 2}}
            << 47;
        QTest::newRow("+21 with its third 21 left on the spread")
            << trisomy21 << Moves{{49, -1}} << Codes{{49, -1}, {40, 1}} << 46;
        QTest::newRow("+21 with its third 21 in the spare of another row")
            << trisomy21 << Moves{{49, 48}} << Codes{{48, 0}, {49, -1}} << 46;
        QTest::newRow("a 46-chromosome cell's 1 in a spare place")
            << cell("XY") << Moves{{0, 46}} << Codes{{46, 0}, {0, -1}, {1, 1}} << 45;
        const QList<int> robertsonian = cell("XX", {}, {21});
        QTest::newRow("rob(14;21): the single 21's pair place is rightly empty")
            << robertsonian << Moves{} << Codes{{40, 1}, {41, 2}, {26, 1}, {27, 1}} << 45;
        QTest::newRow("rob(14;21): the 21 in the second place of its pair")
            << robertsonian << Moves{{40, 41}} << Codes{{40, 2}, {41, 1}} << 45;
        QTest::newRow("rob(14;21): the 21 missed, one of its places is still owed")
            << robertsonian << Moves{{40, -1}} << Codes{{40, -1}, {41, 2}} << 44;
        QTest::newRow("45,X: the X in the XY place")
            << cell("X") << Moves{{44, 45}} << Codes{{44, 2}, {45, 1}, {49, 2}} << 45;
        const QList<int> klinefelter = cell("XXY");
        QTest::newRow("47,XXY: the second X in the spare")
            << klinefelter << Moves{} << Codes{{44, 1}, {45, 1}, {49, 1}} << 47;
        QTest::newRow("47,XXY: X and Y swapped")
            << klinefelter << Moves{{44, 45}, {45, 44}} << Codes{{44, 0}, {45, 0}} << 45;
        QTest::newRow("47,XYY: an X in the XY place")
            << cell("XYY") << Moves{{44, 45}, {45, 44}} << Codes{{44, 0}, {45, 0}, {49, 1}} << 45;
        QTest::newRow("47,XXX: every X fits either sex place")
            << cell("XXX") << Moves{{44, 45}, {45, 44}} << Codes{{44, 1}, {45, 1}, {49, 1}} << 47;
    }
    void verdictsOfAnAbnormalCell()
    {
        QFETCH(QList<int>, chromosomes);
        QFETCH(Moves, moves);
        QFETCH(Codes, codes);
        QFETCH(int, correct);
        const CellKey key = CellKey::abnormal(chromosomes);
        BoardState board = answerBoard(key);
        const BoardState answer = board;
        for (const auto &[from, to] : moves)
            board.SlotContents[std::size_t(from)] = -1;
        for (const auto &[from, to] : moves) {
            if (to >= 0)
                board.SlotContents[std::size_t(to)] = answer.SlotContents[std::size_t(from)];
        }
        const CellScore score = scoreCell(board, key);
        for (const auto &[place, code] : codes)
            QVERIFY2(score.codes[std::size_t(place)] == code,
                     qPrintable(QStringLiteral("place %1: %2")
                                    .arg(place)
                                    .arg(score.codes[std::size_t(place)])));
        QCOMPARE(score.correct, correct);
        QCOMPARE(score.chromosomes, int(chromosomes.size()));
        QCOMPARE(score.placeCount, 50);
    }

    void turnedTooFarInTheSparePlace()
    {
        const CellKey key = CellKey::abnormal(cell("XY", {13}));
        BoardState board = answerBoard(key);
        board.RotationStep[std::size_t(board.SlotContents[48])] = 3;
        const CellScore score = scoreCell(board, key);
        QCOMPARE(score.codes[48], -2);
        QCOMPARE(ShowSlotResults(48, -2, board.SlotContents[48], key, true).label,
                 QStringLiteral("+"));
        QCOMPARE(ShowSlotResults(48, 0, 0, key, true).label, QStringLiteral("+ × 1"));
        QCOMPARE(ShowSlotResults(41, 2, -1, key, false).colour, QColor(0x66, 0xFF, 0xFF));
    }

    // Where the correct karyogram puts each sex piece, and a third chromosome of a pair.
    void answerPlacesOfTheSexChromosomes_data()
    {
        QTest::addColumn<QList<int>>("chromosomes");
        QTest::addColumn<QList<int>>("lastPlaces");
        QTest::newRow("+21 (pieces 40-42 the 21s)")
            << cell("XY", {21}) << QList<int>{41, 49, 42, 43, 44, 45};
        QTest::newRow("47,XXY") << cell("XXY") << QList<int>{42, 43, 44, 49, 45};
        QTest::newRow("47,XYY") << cell("XYY") << QList<int>{42, 43, 44, 45, 49};
        QTest::newRow("45,X") << cell("X") << QList<int>{42, 43, 44};
        QTest::newRow("rob(14;21): one 21, then 22, 22, X, X")
            << cell("XX", {}, {21}) << QList<int>{43, 44, 45};
    }
    void answerPlacesOfTheSexChromosomes()
    {
        QFETCH(QList<int>, chromosomes);
        QFETCH(QList<int>, lastPlaces);
        const CellKey key = CellKey::abnormal(chromosomes);
        const int first = key.pieceCount - int(lastPlaces.size());
        const auto places = answerPlaces(key);
        QList<int> got;
        for (int piece = first; piece < key.pieceCount; ++piece)
            got << places[std::size_t(piece)];
        QCOMPARE(got, lastPlaces);
        QCOMPARE(cellKeyProblem(key), QString());
    }

    void cellsTheBoardCannotHoldAreRefused()
    {
        // Two third chromosomes in row 3 would need its one spare place twice.
        QVERIFY(!cellKeyProblem(CellKey::abnormal(cell("XY", {13, 14}, {1, 2}))).isEmpty());
        QVERIFY(!cellKeyProblem(CellKey::abnormal(cell("X", {}, {21}))).isEmpty()); // 44
        QCOMPARE(cellKeyProblem(CellKey::abnormal(cell("XY", {13, 21}, {1, 2}))), QString());
    }

    // A normal cell's board is untouched: no spare places, and its layout is today's.
    void sparePlacesOnlyOnAnAbnormalBoard()
    {
        std::array<QRect, MostPlaces> normal, abnormal;
        layOutPlaces(normal, 800, 80, false);
        layOutPlaces(abnormal, 800, 80, true);
        QCOMPARE(normal[9], QRect(720, 0, 78, 80));
        QCOMPARE(normal[45], QRect(720, 0, 78, 80));
        QVERIFY(normal[46].isNull() && normal[49].isNull());
        QCOMPARE(abnormal[9], QRect(648, 0, 72, 80));
        QCOMPARE(abnormal[46], QRect(720, 0, 78, 80));
        QCOMPARE(abnormal[47], QRect(742, 0, 56, 80)); // row 2: 14 places and the spare
        QCOMPARE(CellKey::normal(true).placeCount(), 46);
    }

    // Abnormal folders follow the ten normal ones by the number in their names.
    void libraryListsAbnormalProblemsAfterTheNormalOnes()
    {
        QTemporaryDir dir;
        QDir images(dir.path());
        images.mkdir(knownProblemNames()[3]);
        for (const char *name : {"異常男性染色体核型no12", "異常女性染色体核型no11",
                                 "異常女性染色体核型no9x", "異常男性染色体核型no100"})
            images.mkdir(QString::fromUtf8(name));
        QFile(images.filePath(QStringLiteral("異常女性染色体核型no13"))).open(QIODevice::WriteOnly);
        const ProblemLibrary library = ProblemLibrary::probe(images);
        QCOMPARE(library.ProblemList(),
                 (QStringList{knownProblemNames()[3], "異常女性染色体核型no11",
                              "異常男性染色体核型no12", "異常男性染色体核型no100"}));
        QCOMPARE(library.numberTexts().last(), QStringLiteral("004"));
    }

    void loadsEitherKindOfProblem()
    {
        QTemporaryDir dir;
        writeProblemFolder(dir.path(), knownProblemNames()[2]);
        const LoadProblemResult normal =
            loadProblemOfAnyKind(QDir(dir.path()), knownProblemNames()[2]);
        QVERIFY2(normal.ok(), qPrintable(normal.error));
        QCOMPARE(normal.problem.key, CellKey::normal(true));
        QVERIFY(!normal.problem.karyotype);

        QStringList names = normalBitmapNames();
        names.insert(46, "23-3.bmp");
        const QString name = QStringLiteral("異常男性染色体核型no15");
        writeAbnormalProblemFolder(dir.path(), name, names, "47,XXY", {"23-2.bmp"});
        const LoadProblemResult xxy = loadProblemOfAnyKind(QDir(dir.path()), name);
        QVERIFY2(xxy.ok(), qPrintable(xxy.error));
        QCOMPARE(xxy.problem.key.pieceCount, 47);
        QVERIFY(xxy.problem.key.sparePlaces);
        QVERIFY(!xxy.problem.key.female);
        QCOMPARE(xxy.problem.key.chromosome[44], X);
        QCOMPARE(xxy.problem.key.chromosome[45], X);
        QCOMPARE(xxy.problem.key.chromosome[46], Y);
        QCOMPARE(xxy.problem.bitmapNames.last(), QStringLiteral("23-3.bmp"));
        QCOMPARE(xxy.problem.karyotype->iscn(), QStringLiteral("47,XXY"));
        QVERIFY(xxy.problem.SourceBitmap[46].width > 0);

        // Two extra chromosomes in one row: refused whole, with the reason.
        names = normalBitmapNames();
        names.removeAll("1-2.bmp");
        names.removeAll("2-2.bmp");
        names << "13-3.bmp"
              << "14-3.bmp";
        const QString crowded = QStringLiteral("異常男性染色体核型no16");
        writeAbnormalProblemFolder(dir.path(), crowded, names, "46,XY,+13,+14,-1,-2", {});
        const LoadProblemResult refused = loadProblemOfAnyKind(QDir(dir.path()), crowded);
        QVERIFY2(refused.error.contains(crowded) && refused.error.contains("置き場所のない"),
                 qPrintable(refused.error));
        QCOMPARE(refused.problem.key.pieceCount, 46);
        QVERIFY(refused.problem.SourceBitmap[0].isNull());
    }

    // A piece counts in the row of its class: the Y of a 47,XXY cell is its 47th piece.
    void theLastPieceOfALargerCellFitsItsRow()
    {
        SourceBitmaps bitmaps;
        for (Bgr24Image &b : bitmaps)
            b = Bgr24Image(10, 20);
        bitmaps[46] = Bgr24Image(40, 20);
        ScaleInputs in;
        in.firstRowHeight = 84;
        in.rowReferenceWidths = {80, 80, 80, 20};
        const ScaleResult scale = computeScale(bitmaps, in, CellKey::abnormal(cell("XXY")));
        QCOMPARE(scale.BaseScale, 0.5f);
    }
};

QTEST_MAIN(TestAbnormalBoard)
#include "test_abnormal_board.moc"
