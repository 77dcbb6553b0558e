#include "core/app/ScreenPlacement.h"

#include <QTest>

using namespace queldo;

using Remembered = std::optional<RememberedWindow>;
Q_DECLARE_METATYPE(Remembered)

class TestScreenPlacement : public QObject
{
    Q_OBJECT

private slots:
    void exerciseWindowStart_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<Remembered>("remembered");
        QTest::addColumn<QRect>("client");
        QTest::addColumn<bool>("maximised");
        const QMargins none;
        const QMargins framed(2, 26, 2, 2);
        const Remembered nothing;

        QTest::newRow("1280 x 1024, no window manager")
            << QSize(1280, 1024) << QRect(0, 0, 1280, 1024) << none << nothing
            << QRect(145, 122, 990, 780) << false;
        QTest::newRow("1920 x 1080, framed: the outer size is the designed one")
            << QSize(1920, 1080) << QRect(0, 0, 1920, 1080) << framed << nothing
            << QRect(467, 176, 986, 752) << false;
        QTest::newRow("1920 x 1080, task bar")
            << QSize(1920, 1080) << QRect(0, 0, 1920, 1040) << none << nothing
            << QRect(465, 130, 990, 780) << false;
        QTest::newRow("1024 x 768: maximised, and whole on the screen without a manager")
            << QSize(1024, 768) << QRect(0, 0, 1024, 768) << none << nothing
            << QRect(17, 0, 990, 768) << true;
        QTest::newRow("1280 x 1023: maximised")
            << QSize(1280, 1023) << QRect(0, 0, 1280, 1023) << none << nothing
            << QRect(145, 121, 990, 780) << true;
        QTest::newRow("1366 x 768, framed, remembered at the top: caption kept on the screen")
            << QSize(1366, 768) << QRect(0, 0, 1366, 768) << framed
            << Remembered(RememberedWindow{QRect(376, 0, 990, 780), false})
            << QRect(374, 26, 990, 740) << true;
        QTest::newRow("1920 x 1080, maximised only because the last screen was small")
            << QSize(1920, 1080) << QRect(0, 0, 1920, 1080) << none
            << Remembered(RememberedWindow{QRect(17, 0, 990, 768), true, true})
            << QRect(465, 150, 990, 780) << false;
        QTest::newRow("1920 x 1080, maximised by the trainee")
            << QSize(1920, 1080) << QRect(0, 0, 1920, 1080) << none
            << Remembered(RememberedWindow{QRect(100, 80, 1200, 900), true})
            << QRect(100, 80, 1200, 900) << true;
        QTest::newRow("1920 x 1080, framed, left normal where it fits")
            << QSize(1920, 1080) << QRect(0, 0, 1920, 1080) << framed
            << Remembered(RememberedWindow{QRect(300, 200, 1200, 700), false})
            << QRect(300, 200, 1200, 700) << false;
        QTest::newRow("remembered on a screen taken away since")
            << QSize(1920, 1080) << QRect(0, 0, 1920, 1080) << none
            << Remembered(RememberedWindow{QRect(2500, 100, 990, 780), false})
            << QRect(465, 150, 990, 780) << false;
        QTest::newRow("second screen to the right, task bar on top")
            << QSize(1280, 1024) << QRect(1920, 30, 1280, 994) << none << nothing
            << QRect(2065, 137, 990, 780) << false;
    }
    void exerciseWindowStart()
    {
        QFETCH(QSize, screen);
        QFETCH(QRect, available);
        QFETCH(QMargins, frame);
        QFETCH(Remembered, remembered);
        QFETCH(QRect, client);
        QFETCH(bool, maximised);
        const WindowStart start = queldo::exerciseWindowStart(screen, available, frame, remembered);
        QCOMPARE(start.client, client);
        QCOMPARE(start.maximised, maximised);
    }

    void aMaximisedStateIsRememberedAsForcedOnlyOnASmallScreen_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("forced");
        QTest::newRow("small screen") << true << QSize(1366, 768) << true;
        QTest::newRow("large screen") << true << QSize(1920, 1080) << false;
        QTest::newRow("normal on a small screen") << false << QSize(1024, 768) << false;
    }
    void aMaximisedStateIsRememberedAsForcedOnlyOnASmallScreen()
    {
        QFETCH(bool, maximised);
        QFETCH(QSize, screen);
        QFETCH(bool, forced);
        const RememberedWindow w = windowToRemember(QRect(5, 6, 700, 500), maximised, screen);
        QCOMPARE(w.geometry, QRect(5, 6, 700, 500));
        QCOMPARE(w.maximised, maximised);
        QCOMPARE(w.maximisedForScreen, forced);
    }

    void dialogsAreCentredOnTheAvailableArea_data()
    {
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("login on 1024 x 768")
            << QSize(282, 226) << QRect(0, 0, 1024, 768) << QPoint(371, 271);
        QTest::newRow("task bar on top")
            << QSize(300, 200) << QRect(0, 40, 1366, 728) << QPoint(533, 304);
        QTest::newRow("larger than the screen: caption reachable")
            << QSize(1100, 900) << QRect(0, 0, 1024, 768) << QPoint(0, 0);
    }
    void dialogsAreCentredOnTheAvailableArea()
    {
        QFETCH(QSize, outer);
        QFETCH(QRect, available);
        QFETCH(QPoint, topLeft);
        QCOMPARE(centredTopLeft(outer, available), topLeft);
    }

    void stackedPicturesShrinkToFitTheScreen_data()
    {
        QTest::addColumn<QSize>("item");
        QTest::addColumn<QSize>("room");
        QTest::addColumn<QSize>("fitted");
        QTest::newRow("fits") << QSize(800, 300) << QSize(1920, 1080) << QSize(800, 300);
        QTest::newRow("1024 x 768: two karyograms of a maximised window")
            << QSize(808, 374) << QSize(1024, 768) << QSize(732, 339);
        QTest::newRow("too wide") << QSize(1200, 300) << QSize(1000, 1080) << QSize(1000, 250);
    }
    void stackedPicturesShrinkToFitTheScreen()
    {
        QFETCH(QSize, item);
        QFETCH(QSize, room);
        QFETCH(QSize, fitted);
        // Two pictures below a 90-pixel caption, frame and margins.
        QCOMPARE(stackedToFit(item, 2, 90, room), fitted);
    }
};

QTEST_GUILESS_MAIN(TestScreenPlacement)
#include "test_screen_placement.moc"
