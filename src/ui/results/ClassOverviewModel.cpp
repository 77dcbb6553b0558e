#include "ui/results/ClassOverviewModel.h"

#include "core/results/ClassOverviewText.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

namespace queldo {

namespace {

QVariant sortKey(const TraineeSummary &t, OverviewColumn column)
{
    // Rows without attempts sort below every figure, whichever way the column is sorted.
    const bool practised = t.state == TraineeFolderState::Practised;
    switch (column) {
    case OverviewColumn::Id:
        return t.id.toLower() + QLatin1Char('\n') + t.id;
    case OverviewColumn::Attempts:
        return practised || t.state == TraineeFolderState::NoAttempts ? t.attempts : -1;
    case OverviewColumn::LastDate:
        return t.lastDay.isValid() ? t.lastDay.toJulianDay() : qint64(-1);
    case OverviewColumn::PerfectShare:
        return practised ? t.perfectShare : -1.0;
    case OverviewColumn::MeanSeconds:
        return practised ? t.meanSeconds : -1.0;
    case OverviewColumn::Trend: {
        // By the latest attempts: the mean of the last five.
        if (t.trend.empty())
            return -1.0;
        const std::size_t n = std::min<std::size_t>(5, t.trend.size());
        double sum = 0;
        for (std::size_t i = t.trend.size() - n; i < t.trend.size(); ++i)
            sum += t.trend[i];
        return sum / double(n);
    }
    case OverviewColumn::MostMissed:
        return t.mostMissed.empty() ? 0 : t.mostMissed.front();
    case OverviewColumn::Note:
        return t.note;
    }
    return {};
}

} // namespace

void ClassOverviewModel::setTrainees(std::vector<TraineeSummary> trainees)
{
    beginResetModel();
    m_trainees = std::move(trainees);
    endResetModel();
}

int ClassOverviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_trainees.size());
}

int ClassOverviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : OverviewColumnCount;
}

QVariant ClassOverviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TraineeSummary &t = m_trainees[std::size_t(index.row())];
    const auto column = OverviewColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return overviewCellText(t, column);
    case Qt::ToolTipRole:
        return column == OverviewColumn::Note || column == OverviewColumn::Trend
                   ? overviewCellText(t, column)
                   : QVariant();
    case Qt::TextAlignmentRole:
        return column == OverviewColumn::Attempts || column == OverviewColumn::PerfectShare ||
                       column == OverviewColumn::MeanSeconds
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (column == OverviewColumn::Note && t.state != TraineeFolderState::Practised &&
            t.state != TraineeFolderState::NoAttempts)
            return QBrush(QColor(0xCC, 0x00, 0x00));
        return {};
    case SortRole:
        return sortKey(t, column);
    case TrendRole:
        return QVariant::fromValue(QList<int>(t.trend.begin(), t.trend.end()));
    default:
        return {};
    }
}

QVariant ClassOverviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return overviewColumnTitles().value(section);
}

} // namespace queldo
