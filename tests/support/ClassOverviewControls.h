#pragma once

#include "Controls.h"
#include "ui/results/ClassOverviewWindow.h"
#include "ui/results/ConfusionHeatMap.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace queldo::test {

/// The class overview's controls, found by the names the window gives them.
struct ClassOverviewControls
{
    explicit ClassOverviewControls(const ClassOverviewWindow &window)
        : RefreshButton(control<QPushButton>(window, "RefreshButton")),
          GradesButton(control<QPushButton>(window, "GradesButton")),
          Table(control<QTableView>(window, "Table")),
          TodayButton(control<QRadioButton>(window, "TodayButton")),
          WeekButton(control<QRadioButton>(window, "WeekButton")),
          AllButton(control<QRadioButton>(window, "AllButton")),
          HeatMap(control<ConfusionHeatMap>(window, "HeatMap")),
          SummaryLabel(control<QLabel>(window, "SummaryLabel"))
    {
    }

    QPushButton *RefreshButton; // 更新
    QPushButton *GradesButton;  // 成績
    QTableView *Table;
    QRadioButton *TodayButton; // 本日
    QRadioButton *WeekButton;  // 今週
    QRadioButton *AllButton;   // すべて
    ConfusionHeatMap *HeatMap;
    QLabel *SummaryLabel; // the five sentences
};

} // namespace queldo::test
