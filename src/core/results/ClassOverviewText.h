#pragma once

#include "core/results/ClassOverview.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace queldo {

/// The columns of the class overview, in the order the table and its CSV file show them.
enum class OverviewColumn {
    Id,
    Attempts,
    LastDate,
    PerfectShare,
    MeanSeconds,
    Trend,
    MostMissed,
    Note,
};
inline constexpr int OverviewColumnCount = 8;

/// The column titles.
QStringList overviewColumnTitles();
/// The text of a cell, the same on screen, on paper and in the CSV file. The trend is its
/// numbers, oldest first.
QString overviewCellText(const TraineeSummary &trainee, OverviewColumn column);
/// "9番" for pairs 1 to 22, "X・Y" for the sex chromosomes.
QString pairName(int pair);

/// The table as CSV: UTF-8 with a byte order mark (so that a spreadsheet takes it for Japanese),
/// CR LF line ends, a field quoted when it holds a comma, a quote or a line end.
QByteArray classOverviewCsv(const std::vector<TraineeSummary> &trainees);

/// Which attempts the class's confusions are counted over.
enum class ConfusionPeriod { Today, Week, All };
const ConfusionTable &tableOf(const ClassConfusions &confusions, ConfusionPeriod period);
/// "本日", "今週" or "すべて".
QString periodName(ConfusionPeriod period);
/// What the tables leave out, one line each; empty when nothing.
QString classConfusionNotices(const ClassConfusions &confusions);

} // namespace queldo
