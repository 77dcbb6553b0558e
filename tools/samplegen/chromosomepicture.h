#pragma once

#include "chromosomelayout.h"

#include <QImage>
#include <QPointF>

// A rendered chromosome and where its landmarks ended up in the image.
struct ChromosomePicture
{
    int chromosome = -1;
    QImage image; // RGB888, grey on pure white
    ChromosomeLayout layout;
    QPointF topTip;
    QPointF bottomTip;
    QPointF centromere;
};
