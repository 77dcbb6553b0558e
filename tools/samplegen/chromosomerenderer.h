#pragma once

#include "chromosomeappearance.h"
#include "chromosomepicture.h"

#include <QPointF>
#include <vector>

// Draws a banded metaphase chromosome: two sister chromatids with rounded
// ends, a primary constriction at the centromere, satellites on a stalk where
// the layout has them, soft edges, grain and a gentle bend and tilt.
class ChromosomeRenderer
{
public:
    ChromosomeRenderer(const ChromosomeLayout &layout, const ChromosomeAppearance &appearance);

    ChromosomePicture render(int chromosome) const;

private:
    struct AxisSample
    {
        double darkness = 0.0;
        double widthScale = 1.0;
        double spacingScale = 1.0;
        double bend = 0.0;
    };

    void sampleAxis();
    AxisSample axisAt(double s) const;
    double inkAt(double s, double t) const;
    double bodyInk(double s, double t, const AxisSample &axis) const;
    double stalkInk(double s, double t) const;
    double satelliteInk(double s, double t) const;
    double mottleAt(double s, double t) const;
    double edgeNoise(double s, int side) const;
    double bandShift(double s, double t) const;
    double bandInk(double darkness) const;
    QPointF toCanvas(double s, double t) const;

    ChromosomeLayout m_layout;
    ChromosomeAppearance m_appearance;
    double m_cosTilt = 1.0;
    double m_sinTilt = 0.0;
    double m_reach = 0.0; // how far from the axis any ink can lie
    QPointF m_pivot;
    int m_canvasWidth = 0;
    int m_canvasHeight = 0;
    double m_sampleStart = 0.0;
    std::vector<AxisSample> m_axis;
};
