#include "strokeglyphs.h"

#include <QList>

namespace {

using Stroke = QList<QPointF>;

// Glyph outlines on a unit box, y down.
QList<Stroke> strokesFor(QChar c)
{
    switch (c.unicode()) {
    case '0':
        return {{{0.5, 0},
                 {0.85, 0.15},
                 {0.95, 0.5},
                 {0.85, 0.85},
                 {0.5, 1},
                 {0.15, 0.85},
                 {0.05, 0.5},
                 {0.15, 0.15},
                 {0.5, 0}}};
    case '1':
        return {{{0.25, 0.2}, {0.55, 0}, {0.55, 1}}};
    case '2':
        return {{{0.1, 0.2}, {0.3, 0}, {0.7, 0}, {0.9, 0.2}, {0.9, 0.4}, {0.1, 1}, {0.95, 1}}};
    case '3':
        return {{{0.1, 0},
                 {0.9, 0},
                 {0.45, 0.42},
                 {0.75, 0.45},
                 {0.92, 0.65},
                 {0.9, 0.85},
                 {0.7, 1},
                 {0.25, 1},
                 {0.08, 0.88}}};
    case '4':
        return {{{0.7, 1}, {0.7, 0}, {0.05, 0.68}, {0.95, 0.68}}};
    case '5':
        return {{{0.9, 0},
                 {0.2, 0},
                 {0.12, 0.45},
                 {0.6, 0.4},
                 {0.9, 0.6},
                 {0.9, 0.85},
                 {0.7, 1},
                 {0.1, 1}}};
    case '6':
        return {{{0.8, 0},
                 {0.4, 0.05},
                 {0.1, 0.45},
                 {0.1, 0.85},
                 {0.28, 1},
                 {0.75, 1},
                 {0.92, 0.82},
                 {0.92, 0.62},
                 {0.75, 0.47},
                 {0.3, 0.47},
                 {0.1, 0.6}}};
    case '7':
        return {{{0.08, 0}, {0.92, 0}, {0.38, 1}}};
    case '8':
        return {{{0.5, 0.47},
                 {0.2, 0.35},
                 {0.15, 0.15},
                 {0.32, 0},
                 {0.68, 0},
                 {0.85, 0.15},
                 {0.8, 0.35},
                 {0.5, 0.47},
                 {0.12, 0.62},
                 {0.1, 0.85},
                 {0.3, 1},
                 {0.7, 1},
                 {0.9, 0.85},
                 {0.88, 0.62},
                 {0.5, 0.47}}};
    case '9':
        return {{{0.9, 0.4},
                 {0.7, 0.53},
                 {0.25, 0.53},
                 {0.08, 0.38},
                 {0.08, 0.18},
                 {0.25, 0},
                 {0.72, 0},
                 {0.9, 0.15},
                 {0.9, 0.55},
                 {0.6, 0.95},
                 {0.2, 1}}};
    case 'X':
        return {{{0.08, 0}, {0.92, 1}}, {{0.92, 0}, {0.08, 1}}};
    case 'Y':
        return {{{0.08, 0}, {0.5, 0.5}, {0.92, 0}}, {{0.5, 0.5}, {0.5, 1}}};
    default:
        return {};
    }
}

} // namespace

QPainterPath StrokeGlyphs::glyph(QChar c, const QRectF &box)
{
    QPainterPath path;
    for (const Stroke &stroke : strokesFor(c)) {
        for (qsizetype i = 0; i < stroke.size(); ++i) {
            const QPointF point(box.left() + stroke.at(i).x() * box.width(),
                                box.top() + stroke.at(i).y() * box.height());
            if (i == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
    }
    return path;
}

QPainterPath StrokeGlyphs::text(const QString &text, const QPointF &topLeft, double height)
{
    QPainterPath path;
    const double glyphWidth = 0.55 * height;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QRectF box(topLeft.x() + i * advance(height), topLeft.y(), glyphWidth, height);
        path.addPath(glyph(text.at(i), box));
    }
    return path;
}
