#include "HostileFixture.h"
#include "core/board/Bgr24Image.h"

#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

// A picture whose rows all differ, so that one stored upside down cannot pass for it.
Bgr24Image stripes(int width, int height)
{
    Bgr24Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t *p = image.row(y) + 3 * x;
            p[0] = std::uint8_t(10 * y);
            p[1] = std::uint8_t(7 * x);
            p[2] = std::uint8_t(200 - y);
        }
    return image;
}

} // namespace

/// Chromosome pictures are judged by what their headers declare, before anything is decoded.
class TestBitmapFiles : public QObject
{
    Q_OBJECT
private slots:
    // The declared size decides before anything is decoded, whatever the compression: a header
    // of a few bytes must not cost memory out of all proportion.
    void picturesAreJudgedByTheirHeaders_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error"); // a fragment of the message, "" when it loads
        QTest::newRow("1,080-byte run-length bomb of 5792 x 5792") << rle8Bomb() << "大きすぎ";
        QTest::newRow("4097 wide") << bmpBytes(Bgr24Image(4097, 1)) << "大きすぎ";
        QTest::newRow("4097 high, top-down") << topDownBmpBytes(Bgr24Image(1, 4097)) << "大きすぎ";
        QTest::newRow("4096 x 2 is a picture") << bmpBytes(Bgr24Image(4096, 2)) << "";
        QTest::newRow("run-length codes that skip pixels") << rle8WithSkippedPixels() << "圧縮";
        QTest::newRow("run-length without skips") << rle8BmpBytes(2, 1,
                                                                  QByteArray::fromHex("0205"
                                                                                      "0001"))
                                                  << "圧縮";
        QByteArray truncated = bmpBytes(stripes(9, 7));
        truncated.chop(20);
        QTest::newRow("rows cut short") << truncated << "壊れて";
        QByteArray offsetInHeader = bmpBytes(stripes(9, 7));
        offsetInHeader[10] = 20; // pixels said to start inside the header
        offsetInHeader.chop(4);
        QTest::newRow("bogus pixel offset, rows cut short") << offsetInHeader << "壊れて";
        QTest::newRow("top-down") << topDownBmpBytes(stripes(9, 7)) << "";
    }
    void picturesAreJudgedByTheirHeaders()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const BitmapDecodeResult first = decodeBitmap(bytes, "1-1.bmp");
        QVERIFY2(error.isEmpty() ? first.ok() : first.error.contains(error),
                 qPrintable(first.error));
        // Whatever the outcome, the same file gives the same picture every time.
        const BitmapDecodeResult second = decodeBitmap(bytes, "1-1.bmp");
        QCOMPARE(second.error, first.error);
        QVERIFY(second.image == first.image);
    }

    void topDownBitmapShowsTheSamePicture()
    {
        const Bgr24Image picture = stripes(9, 7);
        const BitmapDecodeResult bottomUp = decodeBitmap(bmpBytes(picture), "a");
        const BitmapDecodeResult topDown = decodeBitmap(topDownBmpBytes(picture), "b");
        QVERIFY2(topDown.ok(), qPrintable(topDown.error));
        QVERIFY(bottomUp.image == picture);
        QVERIFY(topDown.image == picture);
    }
};

QTEST_GUILESS_MAIN(TestBitmapFiles)
#include "test_bitmap_files.moc"
