#include "ui/results/ConfusionHeatMap.h"

#include <QFontMetricsF>
#include <QHash>
#include <QHelpEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QStaticText>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <vector>

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

// Where the cells lie in an area: two label bands of a cell's size (the captions above and to the
// left, then the class names), the cells filling the rest and staying square.
struct HeatMapGrid
{
    double cell;
    QPointF origin;
    explicit HeatMapGrid(const QRectF &area)
        : cell(std::max(1.0, std::min(area.width() / (ConfusionColumns + 2),
                                      area.height() / (ConfusionRows + 2)))),
          origin(area.left() + 2 * cell, area.top() + 2 * cell)
    {
    }
    QRectF box(int wanted, int placed) const
    {
        return {origin.x() + (placed - 1) * cell, origin.y() + (wanted - 1) * cell, cell, cell};
    }
};

// The map's texts shaped once per font and kept from one painting to the next: shaping a text
// costs more than drawing it, and the class names and most counts come back at every opening.
// Only for raster painting: a printer's page lays its text out at its own resolution.
class ShapedTexts
{
public:
    static ShapedTexts &shared()
    {
        static ShapedTexts texts;
        return texts;
    }

    double width(const QFont &font, const QString &text)
    {
        Entry &entry = find(font, text);
        if (entry.width < 0)
            entry.width = QFontMetricsF(font).horizontalAdvance(text);
        return entry.width;
    }

    // As drawText() with Qt::AlignCenter draws a line of text, from the shaped text.
    void drawCentred(QPainter &painter, const QRectF &box, const QString &text)
    {
        if (painter.paintEngine()->type() != QPaintEngine::Raster) {
            painter.drawText(box, Qt::AlignCenter, text);
            return;
        }
        const QFont &font = painter.font();
        Entry &entry = find(font, text);
        if (entry.width < 0)
            entry.width = QFontMetricsF(font).horizontalAdvance(text);
        if (entry.height < 0)
            entry.height = QFontMetricsF(font).height();
        // drawText() cuts a text larger than its box to the box, as on a map drawn very small.
        if (entry.width > box.width() || entry.height > box.height()) {
            painter.drawText(box, Qt::AlignCenter, text);
            return;
        }
        if (!entry.prepared) {
            entry.shaped.setTextFormat(Qt::PlainText);
            entry.shaped.setText(text);
            entry.shaped.prepare(QTransform(), font);
            entry.prepared = true;
        }
        painter.drawStaticText(QPointF(box.x() + (box.width() - entry.width) / 2,
                                       box.y() + (box.height() - entry.height) / 2),
                               entry.shaped);
    }

private:
    struct Entry
    {
        QStaticText shaped;
        double width = -1;
        double height = -1;
        bool prepared = false;
    };
    struct Key
    {
        QFont font;
        QString text;
        bool operator==(const Key &other) const { return text == other.text && font == other.font; }
    };
    friend size_t qHash(const Key &key, size_t seed)
    {
        return qHashMulti(seed, key.font, key.text);
    }

    Entry &find(const QFont &font, const QString &text)
    {
        // A map drawn at many sizes over a long day: a bound on what is kept.
        if (m_entries.size() > 4000)
            m_entries.clear();
        return m_entries[Key{font, text}];
    }

    QHash<Key, Entry> m_entries;
};

// Draws a count that fits its cell: whole at the cell's font or a little smaller, else shortened
// the Japanese way (千, 万, 億), so that a class's large counts never spill into their neighbours.
void drawCount(QPainter &painter, const QRectF &box, int count)
{
    ShapedTexts &texts = ShapedTexts::shared();
    const QFont base = painter.font();
    const double room = std::min(box.width() * 0.85, box.width() - 6);
    QFont font;
    const auto fits = [&](const QString &text, double scale) {
        font = base;
        font.setPixelSize(std::max(5, int(base.pixelSize() * scale)));
        return texts.width(font, text) <= room;
    };
    QString text = QString::number(count);
    if (!fits(text, 1.0) && !fits(text, 0.8)) {
        text = heatMapCountText(count);
        if (!fits(text, 1.0) && !fits(text, 0.8) && !fits(text, 0.65)) {
            // A map drawn very small: smaller still, rather than over the neighbours.
            const double width = texts.width(font, text);
            font.setPixelSize(std::max(1, int(font.pixelSize() * room / width)));
        }
    }
    painter.setFont(font);
    texts.drawCentred(painter, box, text);
    painter.setFont(base);
}

} // namespace

QString heatMapCountText(int count)
{
    const auto shortened = [](double value, const QString &unit) {
        // Cut, never rounded up: "9.9万" is still under 10万. One decimal while under ten.
        return (value < 10 ? QString::number(std::floor(value * 10) / 10, 'g', 2)
                           : QString::number(int(value))) +
               unit;
    };
    if (count >= 100000000)
        return shortened(count / 1e8, QStringLiteral("億"));
    if (count >= 10000)
        return shortened(count / 1e4, QStringLiteral("万"));
    if (count >= 1000)
        return shortened(count / 1e3, QStringLiteral("千"));
    return QString::number(count);
}

QString heatMapCellTip(const ConfusionTable &table, const QRectF &area, const QPointF &at)
{
    const HeatMapGrid grid(area);
    const int placed = int(std::floor((at.x() - grid.origin.x()) / grid.cell)) + 1;
    const int wanted = int(std::floor((at.y() - grid.origin.y()) / grid.cell)) + 1;
    if (wanted < 1 || wanted > ConfusionRows || placed < 1 || placed > ConfusionColumns)
        return {};
    return confusionSentence({wanted, placed, table.cell(wanted, placed)});
}

void paintConfusionHeatMap(QPainter &painter, const QRectF &area, const ConfusionTable &table)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, Qt::white);

    const HeatMapGrid grid(area);
    const double cell = grid.cell;
    const QPointF origin = grid.origin;
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
        ShapedTexts::shared().drawCentred(
            painter, QRectF(origin.x() + (placed - 1) * cell, origin.y() - cell, cell, cell),
            axisName(placed));
    for (int wanted = 1; wanted <= ConfusionRows; ++wanted) {
        const double y = origin.y() + (wanted - 1) * cell;
        painter.setPen(Qt::black);
        ShapedTexts::shared().drawCentred(painter, QRectF(origin.x() - cell, y, cell, cell),
                                          axisName(wanted));
        for (int placed = 1; placed <= ConfusionColumns; ++placed) {
            const QRectF box = grid.box(wanted, placed);
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
            if (count > 0) {
                painter.setPen(fill.lightness() < 110 ? Qt::white : Qt::black);
                drawCount(painter, box, count);
            }
        }
    }
    // The grid as whole lines over the filled cells: an outline stroked cell by cell cost more
    // than all the rest of the map. On the screen the lines are filled as the pixels the pen
    // would cover, which is cheaper still.
    const double right = origin.x() + ConfusionColumns * cell;
    const double bottom = origin.y() + ConfusionRows * cell;
    const QColor gridColour(0xB0, 0xB0, 0xB0);
    if (painter.paintEngine()->type() == QPaintEngine::Raster &&
        painter.transform().type() <= QTransform::TxTranslate) {
        const auto pixel = [](double at) { return int(std::floor(at)); };
        for (int k = 0; k <= ConfusionColumns; ++k)
            painter.fillRect(QRect(pixel(origin.x() + k * cell), pixel(origin.y()), 1,
                                   pixel(bottom) - pixel(origin.y()) + 1),
                             gridColour);
        for (int k = 0; k <= ConfusionRows; ++k)
            painter.fillRect(QRect(pixel(origin.x()), pixel(origin.y() + k * cell),
                                   pixel(right) - pixel(origin.x()) + 1, 1),
                             gridColour);
    } else {
        std::vector<QLineF> lines;
        lines.reserve(ConfusionColumns + ConfusionRows + 2);
        for (int k = 0; k <= ConfusionColumns; ++k)
            lines.emplace_back(origin.x() + k * cell, origin.y(), origin.x() + k * cell, bottom);
        for (int k = 0; k <= ConfusionRows; ++k)
            lines.emplace_back(origin.x(), origin.y() + k * cell, right, origin.y() + k * cell);
        painter.setPen(gridColour);
        painter.drawLines(lines.data(), int(lines.size()));
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

bool ConfusionHeatMap::event(QEvent *event)
{
    // The exact figure of a cell whose count is shown shortened, or any other.
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString tip = heatMapCellTip(m_table, rect(), help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

void ConfusionHeatMap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintConfusionHeatMap(painter, rect(), m_table);
}

} // namespace queldo
