#include "ui/results/ClassOverviewPage.h"

#include "ui/results/ConfusionHeatMap.h"
#include "ui/results/TrendLineDelegate.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace queldo {

namespace {

// The page is drawn on a grid 1000 units wide, whatever the printer's resolution.
constexpr double Width = 1000;
constexpr std::array<double, OverviewColumnCount> ColumnWidths = {120, 60,  95,  85,
                                                                  90,  150, 170, 230};

void setPixelFont(QPainter &painter, double size, bool bold = false)
{
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(std::max(1, int(size)));
    font.setBold(bold);
    painter.setFont(font);
}

void drawTable(QPainter &painter, const QRectF &area, const ClassOverviewPage &page)
{
    const QStringList titles = overviewColumnTitles();
    const double rowHeight =
        std::min(22.0, area.height() / double(std::max<std::size_t>(1, page.trainees.size() + 1)));
    setPixelFont(painter, rowHeight * 0.6, true);
    double x = area.left();
    double y = area.top();
    for (int c = 0; c < OverviewColumnCount; ++c) {
        painter.drawText(QRectF(x + 2, y, ColumnWidths[std::size_t(c)] - 4, rowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, titles[c]);
        x += ColumnWidths[std::size_t(c)];
    }
    painter.drawLine(QPointF(area.left(), y + rowHeight), QPointF(area.right(), y + rowHeight));
    setPixelFont(painter, rowHeight * 0.6);
    for (const TraineeSummary &t : page.trainees) {
        y += rowHeight;
        x = area.left();
        for (int c = 0; c < OverviewColumnCount; ++c) {
            const auto column = OverviewColumn(c);
            const QRectF cell(x + 2, y, ColumnWidths[std::size_t(c)] - 4, rowHeight);
            if (column == OverviewColumn::Trend)
                paintTrendLine(painter, cell.adjusted(2, 2, -2, -2),
                               QList<int>(t.trend.begin(), t.trend.end()));
            else
                painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter,
                                 painter.fontMetrics().elidedText(overviewCellText(t, column),
                                                                  Qt::ElideRight,
                                                                  int(cell.width())));
            x += ColumnWidths[std::size_t(c)];
        }
    }
}

} // namespace

void paintClassOverviewPage(QPainter &painter, QSize pageSize, const ClassOverviewPage &page)
{
    painter.save();
    const double height = Width * pageSize.height() / std::max(1, pageSize.width());
    painter.setWindow(0, 0, int(Width), int(height));
    painter.setViewport(0, 0, pageSize.width(), pageSize.height());
    painter.setPen(Qt::black);

    setPixelFont(painter, 26, true);
    painter.drawText(QRectF(0, 0, Width, 40), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("クラス一覧"));
    setPixelFont(painter, 14);
    painter.drawText(QRectF(0, 0, Width, 40), Qt::AlignRight | Qt::AlignVCenter,
                     page.today.toString(QStringLiteral("yyyy/MM/dd")));

    const double tableBottom = height * 0.55;
    drawTable(painter, QRectF(0, 50, Width, tableBottom - 60), page);

    const ConfusionTable &table = tableOf(page.confusions, page.period);
    setPixelFont(painter, 18, true);
    painter.drawText(QRectF(0, tableBottom, Width, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("クラスの取り違え（%1、%2回の試行）")
                         .arg(periodName(page.period))
                         .arg(table.attempts));
    const double mapSide = std::min(560.0, height - tableBottom - 50);
    paintConfusionHeatMap(painter, QRectF(0, tableBottom + 40, mapSide, mapSide), table);
    setPixelFont(painter, 15);
    QString text = confusionSummary(table);
    const QString notices = classConfusionNotices(page.confusions);
    if (!notices.isEmpty())
        text += QStringLiteral("\n\n") + notices;
    painter.drawText(QRectF(mapSide + 20, tableBottom + 40, Width - mapSide - 20, mapSide),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    painter.restore();
}

} // namespace queldo
