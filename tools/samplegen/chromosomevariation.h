#pragma once

#include <QtGlobal>

// How one copy of a chromosome departs from the ideogram: condensation and the
// polymorphic blocks that differ between homologs and between people.
struct ChromosomeVariation
{
    double pixelsPerIscnUnit = 200.0 / 15100.0;
    double heterochromatinScale = 1.0;    // 1q12, 9q12, 16q11.2, Yq12
    double shortArmScale = 1.0;           // the heterochromatic short arm of acrocentrics
    double heterochromatinDarkness = 0.9; // stains anywhere from grey to black
    double satelliteScale = 1.0;
    double stalkScale = 1.0;
    double bandJitter = 0.0; // spread of each band's darkness, staining is never even
    quint64 seed = 0;
};
