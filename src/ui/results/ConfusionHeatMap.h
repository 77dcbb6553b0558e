#pragma once

#include "core/results/Confusions.h"

#include <QWidget>

class QPainter;

namespace queldo {

/// Draws a confusion table as a heat map into a rectangle: rows are the classes the places
/// want, columns the classes put there and the empty places; counts in the cells, the diagonal
/// (the right class) marked grey. Shared by the window and its printout.
void paintConfusionHeatMap(QPainter &painter, const QRectF &area, const ConfusionTable &table);

/// A count as a cell shows it when it is too wide to show whole: "1.2千", "35万", "2.1億".
QString heatMapCountText(int count);
/// What the cell under `at` counts, in words with its exact figure; empty off the cells.
QString heatMapCellTip(const ConfusionTable &table, const QRectF &area, const QPointF &at);

/// The heat map as a control.
class ConfusionHeatMap : public QWidget
{
    Q_OBJECT
public:
    explicit ConfusionHeatMap(QWidget *parent = nullptr);
    void setTable(const ConfusionTable &table);
    const ConfusionTable &table() const { return m_table; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    ConfusionTable m_table;
};

} // namespace queldo
