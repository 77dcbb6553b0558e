#include "ideogramsheet.h"

#include "bandtable.h"
#include "strokeglyphs.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

QColor greyFor(double darkness)
{
    const int level = int(std::lround(255.0 - 225.0 * std::clamp(darkness, 0.0, 1.0)));
    return QColor(level, level, level);
}

} // namespace

void IdeogramSheet::drawIdeogram(QPainter &painter, const QList<ShadedBand> &bands,
                                 const QRectF &frame, bool byStainClass)
{
    const double total = bands.last().band.iscnEnd;
    const double scale = frame.height() / total;
    painter.setPen(Qt::NoPen);
    for (const ShadedBand &shaded : bands) {
        const CytoBand &band = shaded.band;
        QRectF rect(frame.left(), frame.top() + band.iscnStart * scale, frame.width(),
                    band.iscnLength() * scale);
        if (band.stain == BandStain::Stalk)
            rect.adjust(frame.width() * 0.35, 0, -frame.width() * 0.35, 0);
        if (band.stain == BandStain::Acen)
            rect.adjust(frame.width() * 0.2, 0, -frame.width() * 0.2, 0);
        const double darkness =
            byStainClass ? BandTable::stainDarkness(band.stain) : shaded.darkness;
        painter.setBrush(greyFor(darkness));
        painter.drawRect(rect);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.drawRect(frame);
}

QImage IdeogramSheet::compose(const BandTable &table, const QList<ChromosomePicture> &pictures)
{
    const int margin = 16;
    const int labelHeight = 12;
    const int ideogramWidth = 12;
    const int columnGap = 28;
    int width = margin;
    int height = 0;
    for (const ChromosomePicture &picture : pictures) {
        width += 2 * (ideogramWidth + 4) + picture.image.width() + columnGap;
        height = std::max(height, picture.image.height());
    }
    width += margin - columnGap;
    height += 2 * margin + 2 * labelHeight;

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    double x = margin;
    for (const ChromosomePicture &picture : pictures) {
        const double top = margin + picture.topTip.y();
        const double length = picture.bottomTip.y() - picture.topTip.y();
        const QList<ShadedBand> &bands = table.bands(picture.chromosome);
        drawIdeogram(painter, bands, QRectF(x, top, ideogramWidth, length), true);
        x += ideogramWidth + 4;
        drawIdeogram(painter, bands, QRectF(x, top, ideogramWidth, length), false);
        x += ideogramWidth + 4;
        painter.drawImage(QPointF(x, margin), picture.image);
        const double centromereY = margin + picture.centromere.y();
        painter.setPen(QPen(QColor(200, 40, 40), 1.0));
        painter.drawLine(QPointF(x - 2 * (ideogramWidth + 4), centromereY),
                         QPointF(x - 2, centromereY));
        painter.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QString label = ChromosomeId::name(picture.chromosome);
        painter.drawPath(
            StrokeGlyphs::text(label, QPointF(x, height - margin - labelHeight), labelHeight));
        x += picture.image.width() + columnGap;
    }
    painter.end();
    return sheet;
}
