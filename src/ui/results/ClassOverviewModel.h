#pragma once

#include "core/results/ClassOverview.h"

#include <QAbstractTableModel>

#include <vector>

namespace queldo {

/// The class overview as a table: one row per trainee, the columns of OverviewColumn. Each cell
/// shows the text the CSV file holds, and sorts by the figure behind it.
class ClassOverviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    /// The role a proxy sorts by: numbers for the figures, dates for the last practice.
    static constexpr int SortRole = Qt::UserRole;
    /// The trend column's places right per attempt, as a QList<int>.
    static constexpr int TrendRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setTrainees(std::vector<TraineeSummary> trainees);
    const std::vector<TraineeSummary> &trainees() const { return m_trainees; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<TraineeSummary> m_trainees;
};

} // namespace queldo
