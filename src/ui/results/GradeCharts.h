#pragma once

#include "core/results/GradeWindowLayout.h"

#include <QString>

class QAbstractSeries;
class QChartView;
class QLineSeries;
class QValueAxis;
class QWidget;

namespace queldo {

// The charts of the grade analysis window: white, without legend, titles and axes in the
// window's Mincho face, drawn black.

QValueAxis *makeAxis(const QString &title, double minimum, double maximum);
/// Sets the range with a round step that puts at most maxTicks intervals on it.
void setAxisRange(QValueAxis *axis, AxisRange range, int maxTicks);
QChartView *makeChart(QWidget *parent, const char *name, const QString &title,
                      QAbstractSeries *series, QValueAxis *bottom, QValueAxis *left);
QLineSeries *makeLineSeries(const char *name, const QString &title);

} // namespace queldo
