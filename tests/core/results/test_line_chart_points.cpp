#include "core/results/LineChartPoints.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

using namespace queldo;

class TestLineChartPoints : public QObject
{
    Q_OBJECT
private slots:
    void fewPointsStayAsTheyAre()
    {
        const QList<QPointF> points{{1, 400}, {2, 300}, {3, 301}};
        QCOMPARE(lineChartPoints(points, {1, 3, 52.2, 330.3}), points);
        // Four per column is no saving either.
        QList<QPointF> forty;
        for (int i = 1; i <= 40; ++i)
            forty.append(QPointF(i, i % 7));
        QCOMPARE(lineChartPoints(forty, {1, 40, 0, 9}), forty);
    }

    void eachPixelColumnKeepsItsWayInItsExtremesAndItsWayOut()
    {
        // 10,000 attempts on a plot 100.5 pixels wide starting at 40.25, with a lone dip and a
        // lone peak inside columns.
        QRandomGenerator random(3);
        QList<QPointF> points;
        for (int r = 1; r <= 10000; ++r)
            points.append(QPointF(r, 60 + random.bounded(30)));
        points[4321].setY(2);
        points[8765].setY(100);
        const PlotColumns plot{1, 10000, 40.25, 100.5};
        const QList<QPointF> kept = lineChartPoints(points, plot);

        QVERIFY(kept.size() <= 4 * 102);
        QVERIFY(std::is_sorted(kept.begin(), kept.end(),
                               [](QPointF a, QPointF b) { return a.x() < b.x(); }));
        QVERIFY(kept.contains(points[4321]));
        QVERIFY(kept.contains(points[8765]));
        QCOMPARE(kept.first(), points.first());
        QCOMPARE(kept.last(), points.last());
        // Pixel column by pixel column (x drawn at 40.25 + (r - 1) x 100.5 / 9999): the same
        // first, last, lowest and highest point.
        for (int column = 40; column <= 140; ++column) {
            const auto inColumn = [column](QPointF p) {
                return int(std::floor(40.25 + (p.x() - 1) * 100.5 / 9999)) == column;
            };
            QList<QPointF> all, some;
            std::copy_if(points.begin(), points.end(), std::back_inserter(all), inColumn);
            std::copy_if(kept.begin(), kept.end(), std::back_inserter(some), inColumn);
            QVERIFY(!all.isEmpty());
            const auto byY = [](QPointF a, QPointF b) { return a.y() < b.y(); };
            QCOMPARE(some.first(), all.first());
            QCOMPARE(some.last(), all.last());
            QCOMPARE(std::min_element(some.begin(), some.end(), byY)->y(),
                     std::min_element(all.begin(), all.end(), byY)->y());
            QCOMPARE(std::max_element(some.begin(), some.end(), byY)->y(),
                     std::max_element(all.begin(), all.end(), byY)->y());
        }
    }
};

QTEST_MAIN(TestLineChartPoints)
#include "test_line_chart_points.moc"
