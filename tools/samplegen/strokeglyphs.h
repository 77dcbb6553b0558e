#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QString>

// Digits, X and Y drawn as pen strokes, so labels need no font (the generator
// runs headless, where fonts may not be installed).
class StrokeGlyphs
{
public:
    // Width of one glyph cell for a given height.
    static double advance(double height) { return 0.72 * height; }

    static QPainterPath text(const QString &text, const QPointF &topLeft, double height);

private:
    static QPainterPath glyph(QChar c, const QRectF &box);
};
