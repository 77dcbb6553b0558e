#pragma once

#include "bandtable.h"
#include "chromosomepicture.h"

#include <QImage>
#include <QList>

// A review sheet: each drawn chromosome beside two plain ideograms of the same
// length, one filled by stain class and one by the shading the drawing uses,
// to check by eye that bands land where the table puts them.
class IdeogramSheet
{
public:
    static QImage compose(const BandTable &table, const QList<ChromosomePicture> &pictures);

private:
    static void drawIdeogram(QPainter &painter, const QList<ShadedBand> &bands, const QRectF &frame,
                             bool byStainClass);
};
