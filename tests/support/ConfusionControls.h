#pragma once

#include "Controls.h"
#include "ui/results/ConfusionHeatMap.h"
#include "ui/results/ConfusionWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace queldo::test {

/// The 取り違え window's controls, found by the names the window gives them.
struct ConfusionControls
{
    explicit ConfusionControls(const ConfusionWindow &window)
        : TodayButton(control<QRadioButton>(window, "TodayButton")),
          AllButton(control<QRadioButton>(window, "AllButton")),
          HeatMap(control<ConfusionHeatMap>(window, "HeatMap")),
          SummaryLabel(control<QLabel>(window, "SummaryLabel")),
          NoticeLabel(control<QLabel>(window, "NoticeLabel")),
          AttemptList(control<QTreeView>(window, "AttemptList")),
          ReplayButton(control<QPushButton>(window, "ReplayButton")),
          PrintButton(control<QPushButton>(window, "PrintButton")),
          CloseButton(control<QPushButton>(window, "CloseButton"))
    {
    }

    QRadioButton *TodayButton; // 本日
    QRadioButton *AllButton;   // すべての試行
    ConfusionHeatMap *HeatMap;
    QLabel *SummaryLabel; // the five sentences
    QLabel *NoticeLabel;  // what the counts leave out
    QTreeView *AttemptList;
    QPushButton *ReplayButton; // 再現
    QPushButton *PrintButton;  // 印刷
    QPushButton *CloseButton;  // 閉じる
};

} // namespace queldo::test
