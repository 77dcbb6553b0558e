#pragma once

#include "core/results/ClassOverview.h"
#include "core/results/ClassOverviewText.h"

#include <QDate>
#include <QSize>

#include <vector>

class QPainter;

namespace queldo {

/// What the printed overview shows: the rows in the order on screen, and the class's confusions
/// over the period chosen there.
struct ClassOverviewPage
{
    std::vector<TraineeSummary> trainees;
    ClassConfusions confusions;
    ConfusionPeriod period = ConfusionPeriod::All;
    QDate today;
};

/// Draws the whole overview on one page of pageSize device units: the heading, the table with
/// each trend as a small line, the heat map and its sentences. A large class gets smaller rows
/// rather than a second page.
void paintClassOverviewPage(QPainter &painter, QSize pageSize, const ClassOverviewPage &page);

} // namespace queldo
