#include "ui/results/GradeCharts.h"

#include "ui/common/ProgramFonts.h"

#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace queldo {

namespace {

QFont chartFont()
{
    QFont font(MinchoFace);
    font.setPixelSize(12);
    return font;
}

// A round step (1, 2 or 5 times a power of ten) that puts at most maxTicks intervals on the span.
double tickStep(double span, int maxTicks)
{
    const double raw = std::max(span, 1.0) / maxTicks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * magnitude >= raw)
            return std::max(1.0, factor * magnitude);
    return std::max(1.0, 10 * magnitude);
}

} // namespace

QValueAxis *makeAxis(const QString &title, double minimum, double maximum)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setTitleFont(chartFont());
    axis->setLabelsFont(chartFont());
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setLabelsColor(Qt::black);
    axis->setTitleBrush(Qt::black);
    axis->setRange(minimum, maximum);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    return axis;
}

void setAxisRange(QValueAxis *axis, AxisRange range, int maxTicks)
{
    // The old step on a longer range would make a label for every step in between, thousands of
    // them on a long history: one step over the whole range first, then the right one.
    axis->setTickInterval(std::max(axis->max() - axis->min(), range.maximum - range.minimum));
    axis->setRange(range.minimum, range.maximum);
    axis->setTickInterval(tickStep(range.maximum - range.minimum, maxTicks));
}

QChartView *makeChart(QWidget *parent, const char *name, const QString &title,
                      QAbstractSeries *series, QValueAxis *bottom, QValueAxis *left)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(chartFont());
    chart->setTitleBrush(Qt::black);
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(2, 0, 6, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->addSeries(series);
    chart->addAxis(bottom, Qt::AlignBottom);
    chart->addAxis(left, Qt::AlignLeft);
    series->attachAxis(bottom);
    series->attachAxis(left);

    auto *view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setBackgroundBrush(Qt::white);
    view->setFrameShape(QFrame::NoFrame);
    view->setFocusPolicy(Qt::NoFocus);
    return view;
}

QLineSeries *makeLineSeries(const char *name, const QString &title)
{
    auto *series = new QLineSeries;
    series->setObjectName(QString::fromLatin1(name));
    series->setName(title);
    series->setPen(QPen(Qt::black, 1));
    series->setPointsVisible(false);
    return series;
}

} // namespace queldo
