#include "core/exercise/AnswerLayout.h"
#include "core/exercise/AnswerViewOptions.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;

class TestAnswerLayout : public QObject
{
    Q_OBJECT
private slots:
    void windowCoversTheSpreadLessTwenty()
    {
        QCOMPARE(answerWindowSize({804, 352}), QSize(784, 352));
        QCOMPARE(answerWindowSize({12, 0}), QSize(0, 0));
    }

    void rowsAndPlaces()
    {
        // The client area of a 784-wide window inside a 4-pixel frame.
        const AnswerLayout l = answerLayout({776, 325});
        QCOMPARE(l.rows[0], QRect(0, 0, 776, 81));
        QCOMPARE(l.rows[1], QRect(0, 81, 776, 81));  // 325 / 4
        QCOMPARE(l.rows[2], QRect(0, 162, 776, 81)); // 2 x 325 / 4
        QCOMPARE(l.rows[3], QRect(0, 243, 776, 81)); // 3 x 325 / 4
        // Row 1: ten places 77 wide; the last reaches the row's right edge less 2.
        QCOMPARE(l.places[0], QRect(0, 0, 77, 81));
        QCOMPARE(l.places[8], QRect(616, 0, 77, 81));
        QCOMPARE(l.places[9], QRect(693, 0, 81, 81));
        // Row 2: fourteen places 55 wide, the last 59.
        QCOMPARE(l.places[10], QRect(0, 0, 55, 81));
        QCOMPARE(l.places[23], QRect(715, 0, 59, 81));
        // Row 3: twelve places 64 wide, the last 70; row 4: ten, as row 1.
        QCOMPARE(l.places[35], QRect(704, 0, 70, 81));
        QCOMPARE(l.places[45], QRect(693, 0, 81, 81));
    }

    void tooSmallNeverGoesNegative()
    {
        for (const QSize size : {QSize(0, 0), QSize(1, 3), QSize(9, 2), QSize(-5, -5)}) {
            const AnswerLayout l = answerLayout(size);
            for (const QRect &place : l.places) {
                QVERIFY(place.width() >= 0);
                QVERIFY(place.height() >= 0);
            }
        }
    }

    void labels_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<bool>("female");
        QTest::addColumn<QString>("label");
        QTest::newRow("first") << 0 << false << "1";
        QTest::newRow("pair 5, second") << 9 << false << "5";
        QTest::newRow("row 2 starts at 6") << 10 << false << "6";
        QTest::newRow("row 3 starts at 13") << 24 << true << "13";
        QTest::newRow("22") << 43 << false << "22";
        QTest::newRow("female X") << 44 << true << "X";
        QTest::newRow("female second X") << 45 << true << "X";
        QTest::newRow("male X") << 44 << false << "X";
        QTest::newRow("male Y") << 45 << false << "Y";
    }
    void labels()
    {
        QFETCH(int, place);
        QFETCH(bool, female);
        QFETCH(QString, label);
        QCOMPARE(answerPlaceLabel(place, female), label);
    }

    void centring_data()
    {
        QTest::addColumn<QSize>("place");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("fits") << QSize(77, 81) << QSize(30, 60) << QPoint(23, 10);
        // Wider and taller than its place: a negative offset, truncated toward zero.
        QTest::newRow("too wide") << QSize(55, 81) << QSize(66, 84) << QPoint(-5, -1);
        QTest::newRow("odd excess") << QSize(10, 10) << QSize(21, 13) << QPoint(-5, -1);
        QTest::newRow("empty place") << QSize(0, 20) << QSize(30, 20) << QPoint(-15, 0);
    }
    void centring()
    {
        QFETCH(QSize, place);
        QFETCH(QSize, picture);
        QFETCH(QPoint, at);
        QCOMPARE(centredOffset(place, picture), at);
    }

    void allPicturesShrinkAlikeToFitTheirPlaces_data()
    {
        QTest::addColumn<QSize>("tallest"); // picture 0, in a place of 60 x 90
        QTest::addColumn<double>("factor");
        QTest::newRow("all fit") << QSize(40, 90) << 1.0;
        QTest::newRow("one too tall") << QSize(40, 120) << 0.75;
        QTest::newRow("one too wide") << QSize(80, 20) << 0.75;
        QTest::newRow("empty picture left out") << QSize(0, 0) << 1.0;
    }
    void allPicturesShrinkAlikeToFitTheirPlaces()
    {
        QFETCH(QSize, tallest);
        QFETCH(double, factor);
        std::array<QSize, SlotCount> pictures;
        std::array<QSize, SlotCount> places;
        pictures.fill(QSize(30, 40));
        places.fill(QSize(60, 90));
        pictures[0] = tallest;
        places[45] = QSize(0, 0); // a place of no size, as in a window too small for its rows
        QCOMPARE(fitAllInPlaces(pictures, places), factor);
    }

    void contentFollowsTheWindowSize_data()
    {
        QTest::addColumn<QSize>("now"); // the window was laid out at 800 x 400
        QTest::addColumn<double>("scale");
        QTest::newRow("as laid out") << QSize(800, 400) << 1.0;
        QTest::newRow("half as high") << QSize(800, 200) << 0.5;
        QTest::newRow("narrower than it is lower") << QSize(600, 360) << 0.75;
        QTest::newRow("larger") << QSize(1200, 800) << 1.5;
        QTest::newRow("shut to nothing") << QSize(800, 0) << 1.0;
    }
    void contentFollowsTheWindowSize()
    {
        QFETCH(QSize, now);
        QFETCH(double, scale);
        QCOMPARE(contentScale(QSize(800, 400), now), scale);
        QCOMPARE(contentScale(QSize(), now), 1.0);
    }

    void aPairEnlarged_data()
    {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QSize>("first");
        QTest::addColumn<QSize>("second");
        QTest::addColumn<double>("factor");
        // Below a heading 30 high, less a margin of 12 under the pair; across, the margins, the
        // gaps and the ideograms (3/5 of each picture) take their share.
        QTest::newRow("as high as the area allows")
            << QSize(1000, 330) << QSize(38, 52) << QSize(40, 50) << 288.0 / 52;
        QTest::newRow("as wide as the area allows")
            << QSize(400, 600) << QSize(38, 52) << QSize(40, 50) << 324.0 / (78 * 1.6);
        QTest::newRow("at most twelve times")
            << QSize(2000, 2000) << QSize(10, 10) << QSize(10, 10) << 12.0;
        QTest::newRow("no pictures") << QSize(500, 500) << QSize() << QSize() << 0.0;
        QTest::newRow("no room") << QSize(50, 20) << QSize(38, 52) << QSize(40, 50) << 0.0;
    }
    void aPairEnlarged()
    {
        QFETCH(QSize, area);
        QFETCH(QSize, first);
        QFETCH(QSize, second);
        QFETCH(double, factor);
        const PairEnlargement e = enlargePair(area, 30, first, second);
        QVERIFY(qAbs(e.factor - factor) < 1e-9);
        if (factor == 0.0)
            return;
        const QRect below(0, 30, area.width(), area.height() - 30);
        for (std::size_t i = 0; i < 2; ++i) {
            QVERIFY(below.contains(e.pictures[i]));
            QVERIFY(below.contains(e.ideograms[i]));
            QVERIFY(e.ideograms[i].left() > e.pictures[i].right());
            QCOMPARE(e.ideograms[i].top(), e.pictures[i].top());
            QCOMPARE(e.ideograms[i].height(), e.pictures[i].height());
        }
        QVERIFY(e.pictures[1].left() > e.ideograms[0].right());
        QCOMPARE(e.pictures[0].height(), int(first.height() * factor));
    }

    void ideogramBesideThePicture()
    {
        // Picture 30 wide whose chromosome ends at column 24: the ideogram starts 3 pixels after
        // it, and the two are centred in the place as one.
        const AnswerPicturePlacement at = placeWithIdeogram({77, 81}, {30, 60}, 27, 10);
        QCOMPARE(at.picture, QPoint(20, 10));
        QCOMPARE(at.ideogram, QPoint(47, 10));
    }

    void optionsFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.opt");
        // Missing: the defaults, quietly.
        AnswerViewOptionsRead read = AnswerViewOptionsFile::read(path);
        QVERIFY(read.error.isEmpty());
        QVERIFY(!read.options.ideograms);

        QVERIFY(AnswerViewOptionsFile::write(path, {true}).isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("ideogram=1\r\n"));
        file.close();
        QVERIFY(AnswerViewOptionsFile::read(path).options.ideograms);

        // Lines it does not know, from a later version, are passed over.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("zoom=2\nideogram = 1\rbroken\n");
        file.close();
        QVERIFY(AnswerViewOptionsFile::read(path).options.ideograms);

        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("ideogram=yes\r\n\x82");
        file.close();
        read = AnswerViewOptionsFile::read(path);
        QVERIFY(!read.error.isEmpty()); // not code page 932
        QVERIFY(!read.options.ideograms);

        QVERIFY(
            !AnswerViewOptionsFile::write(dir.filePath("no/such/folder/u.opt"), {true}).isEmpty());
    }

    // The answer window and the karyotype question each change their own option; neither
    // undoes what the other set since it last read the file.
    void eachWindowChangesOnlyItsOwnOption()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("u.opt");
        QVERIFY(AnswerViewOptionsFile::change(path, [](AnswerViewOptions &options) {
                    options.karyotypeChoices = true;
                }).isEmpty());
        QVERIFY(AnswerViewOptionsFile::change(path, [](AnswerViewOptions &options) {
                    options.ideograms = true;
                }).isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("ideogram=1\r\nkaryotypeChoices=1\r\n"));
        QCOMPARE(AnswerViewOptionsFile::read(path).options, (AnswerViewOptions{true, true}));
    }
};

QTEST_GUILESS_MAIN(TestAnswerLayout)
#include "test_answer_layout.moc"
