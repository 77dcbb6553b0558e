#pragma once

#include "bandtable.h"
#include "chromosomevariation.h"

#include <QList>

// A chromosome's bands placed along its axis in pixels, from the p-arm tip
// (0) to the q-arm tip (length()).
class ChromosomeLayout
{
public:
    enum class SegmentKind { Band, Centromere, Heterochromatin, Stalk, Satellite };

    struct Segment
    {
        QString bandName;
        SegmentKind kind = SegmentKind::Band;
        double start = 0.0;
        double end = 0.0;
        double darkness = 0.0;
    };

    static ChromosomeLayout build(const QList<ShadedBand> &bands,
                                  const ChromosomeVariation &variation);

    const QList<Segment> &segments() const { return m_segments; }
    double length() const { return m_length; }
    double centromere() const { return m_centromere; }
    double centromereIndex() const { return m_length > 0.0 ? m_centromere / m_length : 0.0; }

    // Acrocentric short arms: satellite [0, satelliteEnd), stalk
    // [satelliteEnd, bodyStart), then the arm proper. Elsewhere bodyStart is 0.
    bool hasSatellite() const { return m_satelliteEnd > 0.0; }
    double satelliteEnd() const { return m_satelliteEnd; }
    double bodyStart() const { return m_bodyStart; }

    // Band darkness at s; outside the chromosome the nearest tip's.
    double darknessAt(double s) const;

private:
    QList<Segment> m_segments;
    double m_length = 0.0;
    double m_centromere = 0.0;
    double m_satelliteEnd = 0.0;
    double m_bodyStart = 0.0;
};
