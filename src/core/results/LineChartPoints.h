#pragma once

#include <QList>
#include <QPointF>

namespace queldo {

/// Where a line chart's plot lies on the screen, and the x range it shows.
struct PlotColumns
{
    double minX = 0;
    double maxX = 0;
    double left = 0;  ///< the plot's left edge, in pixels from the chart's
    double width = 0; ///< the plot's width in pixels

    /// The pixel column a point at x is drawn in.
    int columnOf(double x) const;
};

/// The points of a line chart that show on its plot. A long history holds many attempts per
/// pixel column; drawn, a column shows only the line entering it, its lowest and highest point and
/// the line leaving it. Those four (the column's first, lowest, highest and last point, in their
/// order) draw the picture of all of them at a fraction of the cost. Points must come in
/// ascending x; with four or fewer per column they are returned unchanged.
QList<QPointF> lineChartPoints(const QList<QPointF> &points, const PlotColumns &plot);

} // namespace queldo
