#pragma once

#include <QtGlobal>

// How one chromosome is drawn; lengths are in output pixels.
struct ChromosomeAppearance
{
    double chromatidHalfWidth = 5.8;
    double chromatidSpacing = 0.9; // centre of each sister from the axis, in half-widths
    double constrictionDepth = 0.35;
    double tiltDegrees = 0.0;
    double bow = 0.0;  // sideways bend at mid-length
    double sway = 0.0; // S-shaped part of the bend
    double edgeSoftness = 0.6;
    double bandSoftness = 0.6;
    double inkPale = 0.2;  // share of light absorbed by an unstained band at full thickness
    double inkDark = 0.85; // ... by the darkest band
    double grain = 3.0;    // grey levels of pixel noise
    double mottle = 0.08;  // relative blotchiness of the chromatin
    double mottleScale = 2.5;
    double edgeRoughness = 0.05; // relative wobble of each chromatid's outline
    double bandBow = 0.0;        // px, bands curve across the width instead of lying flat
    double bandSkew = 0.0;       // px, twisting chromatids tilt the bands a little
    int margin = 6;
    quint64 seed = 0;
};
