#pragma once

// What all chromosomes of one metaphase share: how far they condensed and how
// the slide took the stain.
struct CellConditions
{
    double condensation = 1.0; // length relative to the ideogram's proportions
    double widthScale = 1.0;
    double inkPale = 0.2;
    double inkDark = 0.85;
    double grain = 3.0;
};
