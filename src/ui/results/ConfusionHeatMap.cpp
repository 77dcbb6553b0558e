#include "ui/results/ConfusionHeatMap.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace queldo {

namespace {

QString axisName(int classNumber)
{
    if (classNumber == EmptyColumn)
        return QStringLiteral("空");
    if (classNumber == ClassX)
        return QStringLiteral("X");
    if (classNumber == ClassY)
        return QStringLiteral("Y");
    return QString::number(classNumber);
}

// A long history counts in thousands on the diagonal: such a count is drawn smaller rather
// than over its neighbours' cells.
void drawCount(QPainter &painter, const QRectF &box, int count)
{
    const QString text = QString::number(count);
    const QFont font = painter.font();
    const double room = box.width() - 6;
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    if (width <= room || font.pixelSize() <= 0) {
        painter.drawText(box, Qt::AlignCenter, text);
        return;
    }
    QFont smaller = font;
    smaller.setPixelSize(std::max(1, int(font.pixelSize() * room / width)));
    painter.setFont(smaller);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.setFont(font);
}

} // namespace

void paintConfusionHeatMap(QPainter &painter, const QRectF &area, const ConfusionTable &table)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, Qt::white);

    // Two label bands of a cell's size: the captions above and to the left, then the class
    // names; the cells fill the rest and stay square.
    const double cell = std::max(
        1.0, std::min(area.width() / (ConfusionColumns + 2), area.height() / (ConfusionRows + 2)));
    const QPointF origin(area.left() + 2 * cell, area.top() + 2 * cell);
    QFont font = painter.font();
    font.setPixelSize(std::max(6, int(cell * 0.45)));
    painter.setFont(font);

    painter.setPen(Qt::black);
    painter.drawText(QRectF(origin.x(), area.top(), ConfusionColumns * cell, cell), Qt::AlignCenter,
                     QStringLiteral("置かれた染色体 →"));
    painter.save();
    painter.translate(area.left(), origin.y() + ConfusionRows * cell);
    painter.rotate(-90);
    painter.drawText(QRectF(0, 0, ConfusionRows * cell, cell), Qt::AlignCenter,
                     QStringLiteral("本来の位置 →"));
    painter.restore();

    const int largest = table.largestConfusion();
    int largestEmpty = 0;
    for (int wanted = 1; wanted <= ConfusionRows; ++wanted)
        largestEmpty = std::max(largestEmpty, table.cell(wanted, EmptyColumn));

    for (int placed = 1; placed <= ConfusionColumns; ++placed)
        painter.drawText(QRectF(origin.x() + (placed - 1) * cell, origin.y() - cell, cell, cell),
                         Qt::AlignCenter, axisName(placed));
    for (int wanted = 1; wanted <= ConfusionRows; ++wanted) {
        const double y = origin.y() + (wanted - 1) * cell;
        painter.setPen(Qt::black);
        painter.drawText(QRectF(origin.x() - cell, y, cell, cell), Qt::AlignCenter,
                         axisName(wanted));
        for (int placed = 1; placed <= ConfusionColumns; ++placed) {
            const QRectF box(origin.x() + (placed - 1) * cell, y, cell, cell);
            const int count = table.cell(wanted, placed);
            QColor fill;
            if (placed == wanted) {
                fill = QColor(0xD8, 0xD8, 0xD8);
            } else if (placed == EmptyColumn) {
                // Empty places get a scale of their own: they are not mix-ups.
                const double t = largestEmpty > 0 ? double(count) / largestEmpty : 0;
                fill = QColor(int(255 - 0x70 * t), int(255 - 0x50 * t), 255);
            } else {
                fill = heatColour(count, largest);
            }
            painter.fillRect(box, fill);
            painter.setPen(QColor(0xB0, 0xB0, 0xB0));
            painter.drawRect(box);
            if (count > 0) {
                painter.setPen(fill.lightness() < 110 ? Qt::white : Qt::black);
                drawCount(painter, box, count);
            }
        }
    }
    // The diagonal: a dark outline on every right-class cell.
    QPen diagonal(QColor(0x40, 0x40, 0x40));
    diagonal.setWidthF(std::max(1.0, cell / 10));
    painter.setPen(diagonal);
    painter.setBrush(Qt::NoBrush);
    for (int k = 1; k <= ConfusionRows; ++k)
        painter.drawRect(
            QRectF(origin.x() + (k - 1) * cell, origin.y() + (k - 1) * cell, cell, cell));
    painter.restore();
}

ConfusionHeatMap::ConfusionHeatMap(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HeatMap"));
}

void ConfusionHeatMap::setTable(const ConfusionTable &table)
{
    m_table = table;
    update();
}

void ConfusionHeatMap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintConfusionHeatMap(painter, rect(), m_table);
}

} // namespace queldo
