#pragma once

#include <QStyledItemDelegate>

namespace queldo {

/// Draws a trainee's last attempts as a small line, from bottom to top 30 (or the trainee's
/// lowest, when lower) to 46 places right, instead of their numbers.
class TrendLineDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

/// The line itself, also drawn on the printed page.
void paintTrendLine(QPainter &painter, const QRectF &area, const QList<int> &placesRight);

} // namespace queldo
