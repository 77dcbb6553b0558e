#pragma once

#include "chromosomepicture.h"

#include <QImage>
#include <QList>

// Lays out a cell's chromosomes as a karyogram: pairs in rows 1-5, 6-12,
// 13-18 and 19-22 with the sex chromosomes, centromeres on a common line per
// row and each pair's number underneath.
class KaryogramComposer
{
public:
    // pictures in bitmap order (1-1, 1-2, ..., 23-1, 23-2), any number of each class.
    static QImage compose(const QList<ChromosomePicture> &pictures);

private:
    struct Group
    {
        QString label;
        QList<const ChromosomePicture *> members;
    };

    static QList<QList<Group>> rows(const QList<ChromosomePicture> &pictures);
};
