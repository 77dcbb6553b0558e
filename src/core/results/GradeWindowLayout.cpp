#include "core/results/GradeWindowLayout.h"

#include <algorithm>

namespace queldo {

GradeChartRects gradeChartRects(QPoint bevelTopLeft, int clearButtonTop)
{
    const int top = bevelTopLeft.y();
    const int column = clearButtonTop - top;
    const int left = 4;
    const int width = bevelTopLeft.x() - 8;
    const int height = (column - 12) / 3;
    return {QRect(left, top, width, height), QRect(left, (column - 9) / 3 + top, width, height),
            QRect(left, (column * 2 - 18) / 3 + top, width, height)};
}

AxisRange answerTimeAxisRange(double slowestSeconds)
{
    constexpr double Minimum = 48;
    return {Minimum, std::max(slowestSeconds, Minimum + 1)};
}

AxisRange attemptAxisRange(int attempts)
{
    if (attempts <= 1)
        return {0, 2};
    return {1, double(attempts)};
}

QRect gradeReportPictureRect(int pageWidth, QSize picture)
{
    if (picture.isEmpty() || pageWidth <= 0)
        return {};
    // 64 bits: a high-resolution page times a tall picture overflows an int.
    const qint64 scaledHeight =
        qint64(picture.height()) * (pageWidth - 100) / std::max(1, picture.width());
    const int left = 100, top = 100;
    const int right = pageWidth - 50;
    const int bottom = int(scaledHeight - 50);
    // The rectangle runs up to, not onto, its right and bottom edges.
    return QRect(left, top, right - left, bottom - top);
}

} // namespace queldo
