#include "core/results/LineChartPoints.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace queldo {

int PlotColumns::columnOf(double x) const
{
    const double pixel = left + (x - minX) * width / (maxX - minX);
    return int(std::floor(std::clamp(pixel, -1.0, left + width + 1)));
}

QList<QPointF> lineChartPoints(const QList<QPointF> &points, const PlotColumns &plot)
{
    const qsizetype columns = qsizetype(std::ceil(plot.width)) + 1;
    if (!(plot.width > 0) || !(plot.maxX > plot.minX) || points.size() <= 4 * columns)
        return points;

    QList<QPointF> kept;
    kept.reserve(4 * columns);
    qsizetype first = 0;
    while (first < points.size()) {
        const int column = plot.columnOf(points[first].x());
        qsizetype last = first, lowest = first, highest = first;
        while (last + 1 < points.size() && plot.columnOf(points[last + 1].x()) == column) {
            ++last;
            if (points[last].y() < points[lowest].y())
                lowest = last;
            if (points[last].y() > points[highest].y())
                highest = last;
        }
        std::array<qsizetype, 4> picked{first, lowest, highest, last};
        std::sort(picked.begin(), picked.end());
        for (std::size_t i = 0; i < picked.size(); ++i)
            if (i == 0 || picked[i] != picked[i - 1])
                kept.append(points[picked[i]]);
        first = last + 1;
    }
    return kept;
}

} // namespace queldo
