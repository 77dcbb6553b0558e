#pragma once

#include "Controls.h"
#include "ui/results/AbnormalSection.h"
#include "ui/results/TOKBottomDlg.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>

namespace queldo::test {

/// A chart's series found by its name, as the chart draws it: the chart, not the window, holds
/// its series.
template <typename T> T *series(const QChartView &chart, const char *name)
{
    for (QAbstractSeries *each : chart.chart()->series())
        if (each->objectName() == QLatin1String(name))
            if (auto *found = qobject_cast<T *>(each))
                return found;
    qFatal("%s has no series %s", qPrintable(chart.objectName()), name);
}

inline QBarSet *barSet(const QBarSeries &bars, const char *name)
{
    for (QBarSet *each : bars.barSets())
        if (each->objectName() == QLatin1String(name))
            return each;
    qFatal("%s has no bar set %s", qPrintable(bars.objectName()), name);
}

/// The grade analysis window's controls, found by the names the window gives them.
struct GradeWindowControls
{
    explicit GradeWindowControls(const TOKBottomDlg &window)
        : Label1(control<QLabel>(window, "Label1")),
          Button1(control<QPushButton>(window, "Button1")),
          OKBtn(control<QPushButton>(window, "OKBtn")),
          Button2(control<QPushButton>(window, "Button2")),
          ConfusionButton(control<QPushButton>(window, "ConfusionButton")),
          Bevel1(control<QFrame>(window, "Bevel1")), Label6(control<QLabel>(window, "Label6")),
          Label2(control<QLabel>(window, "Label2")),
          NoticeLabel(control<QLabel>(window, "NoticeLabel")),
          Chart1(control<QChartView>(window, "Chart1")),
          Chart3(control<QChartView>(window, "Chart3")),
          Chart2(control<QChartView>(window, "Chart2")),
          Series2(series<QLineSeries>(*Chart1, "Series2")),
          Series3Values(barSet(*series<QBarSeries>(*Chart3, "Series3"), "Series3Values")),
          Series1(series<QLineSeries>(*Chart2, "Series1")),
          AbnormalPanel(control<AbnormalSection>(window, "AbnormalSection"))
    {
    }

    QLabel *Label1;               // "<ID>さんの成績"
    QPushButton *Button1;         // 印刷
    QPushButton *OKBtn;           // 閉じる
    QPushButton *Button2;         // 成績クリア
    QPushButton *ConfusionButton; // 取り違え
    QFrame *Bevel1;
    QLabel *Label6; // today's report
    QLabel *Label2; // the report over all records
    QLabel *NoticeLabel;
    QChartView *Chart1; // accuracy per attempt
    QChartView *Chart3; // accuracy per chromosome pair
    QChartView *Chart2; // answer time
    QLineSeries *Series2;
    QBarSet *Series3Values; // 縦棒
    QLineSeries *Series1;
    AbnormalSection *AbnormalPanel;
};

} // namespace queldo::test
