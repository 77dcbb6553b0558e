#pragma once

#include <QRect>
#include <QSize>

#include <array>

namespace queldo {

/// The three charts of the grade analysis window, stacked in its left column from the top of the
/// frame around today's text down to the "成績クリア" button: accuracy per attempt, accuracy per
/// chromosome pair, answer time.
struct GradeChartRects
{
    QRect accuracy; ///< Chart1
    QRect pairs;    ///< Chart3
    QRect times;    ///< Chart2
};
/// bevelTopLeft: the top-left corner of the today frame; clearButtonTop: the top of the clear
/// button. Integer division throughout, as the window has always divided the column.
GradeChartRects gradeChartRects(QPoint bevelTopLeft, int clearButtonTop);

/// The answer-time axis: its minimum is fixed at 48 seconds, its maximum follows the slowest
/// attempt but never falls to the minimum or below, so the axis always has a length.
struct AxisRange
{
    double minimum = 0;
    double maximum = 0;
};
AxisRange answerTimeAxisRange(double slowestSeconds);
/// The attempt axis of a line chart: the first to the last attempt, widened around a single one.
AxisRange attemptAxisRange(int attempts);

/// Where the picture of the analysis window is stretched on the printed page, in printer units:
/// left and top 100, right 50 short of the page width, bottom at the picture's height scaled to
/// the page width less 100, minus 50.
QRect gradeReportPictureRect(int pageWidth, QSize picture);

} // namespace queldo
