#include "ui/results/TrendLineDelegate.h"

#include "ui/results/ClassOverviewModel.h"

#include <QApplication>
#include <QPainter>
#include <QPolygonF>
#include <QStyle>

#include <algorithm>

namespace queldo {

void paintTrendLine(QPainter &painter, const QRectF &area, const QList<int> &placesRight)
{
    if (placesRight.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The all-right line, faint, so that a trainee at the top reads as such at a glance.
    painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 0, Qt::DotLine));
    painter.drawLine(area.topLeft(), area.topRight());
    // From 30 places right up to all 46, lower only for a trainee who went lower: the whole
    // height spent on 0 to 46 would leave every trainee's line flat at the top, and a common
    // scale keeps the rows comparable.
    const int low = std::min(30, *std::min_element(placesRight.begin(), placesRight.end()));
    const double span = std::max(1, 46 - low);
    const double step = placesRight.size() > 1 ? area.width() / double(placesRight.size() - 1) : 0;
    QPolygonF line;
    for (qsizetype i = 0; i < placesRight.size(); ++i)
        line << QPointF(area.left() + step * double(i),
                        area.bottom() - area.height() * (placesRight[i] - low) / span);
    painter.setPen(QPen(QColor(0x20, 0x50, 0xC0), 1.5));
    if (line.size() == 1)
        painter.drawEllipse(line.front(), 1.5, 1.5);
    else
        painter.drawPolyline(line);
    painter.restore();
}

void TrendLineDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    // The row's background and selection as for any cell, without its text.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
    const auto places = index.data(ClassOverviewModel::TrendRole).value<QList<int>>();
    paintTrendLine(*painter, QRectF(option.rect).adjusted(4, 3, -4, -3), places);
}

QSize TrendLineDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {120, option.fontMetrics.height() + 6};
}

} // namespace queldo
