#include "chromosomelayout.h"

#include "seededrandom.h"

#include <algorithm>

namespace {

using SegmentKind = ChromosomeLayout::SegmentKind;

SegmentKind kindOf(const QList<ShadedBand> &bands, qsizetype index)
{
    switch (bands.at(index).band.stain) {
    case BandStain::Acen:
        return SegmentKind::Centromere;
    case BandStain::Stalk:
        return SegmentKind::Stalk;
    case BandStain::Gvar: {
        const bool beforeStalk =
            index + 1 < bands.size() && bands.at(index + 1).band.stain == BandStain::Stalk;
        return beforeStalk ? SegmentKind::Satellite : SegmentKind::Heterochromatin;
    }
    default:
        return SegmentKind::Band;
    }
}

} // namespace

ChromosomeLayout ChromosomeLayout::build(const QList<ShadedBand> &bands,
                                         const ChromosomeVariation &variation)
{
    ChromosomeLayout layout;
    SeededRandom random(variation.seed);
    double position = 0.0;
    for (qsizetype i = 0; i < bands.size(); ++i) {
        const ShadedBand &shaded = bands.at(i);
        Segment segment;
        segment.bandName = shaded.band.name;
        segment.kind = kindOf(bands, i);
        double scale = 1.0;
        double darkness = shaded.darkness + variation.bandJitter * random.normal();
        switch (segment.kind) {
        case SegmentKind::Heterochromatin:
            scale = shaded.band.shortArm ? variation.shortArmScale : variation.heterochromatinScale;
            darkness = variation.heterochromatinDarkness;
            break;
        case SegmentKind::Satellite:
            scale = variation.satelliteScale;
            darkness = 0.8 * variation.heterochromatinDarkness;
            break;
        case SegmentKind::Stalk:
            scale = variation.stalkScale;
            break;
        case SegmentKind::Centromere:
        case SegmentKind::Band:
            break;
        }
        segment.darkness = std::clamp(darkness, 0.0, 1.0);
        segment.start = position;
        position += shaded.band.iscnLength() * scale * variation.pixelsPerIscnUnit;
        segment.end = position;
        if (i > 0 && bands.at(i - 1).band.shortArm && !shaded.band.shortArm)
            layout.m_centromere = segment.start;
        if (segment.kind == SegmentKind::Satellite)
            layout.m_satelliteEnd = segment.end;
        if (segment.kind == SegmentKind::Stalk)
            layout.m_bodyStart = segment.end;
        layout.m_segments.append(segment);
    }
    layout.m_length = position;
    return layout;
}

double ChromosomeLayout::darknessAt(double s) const
{
    if (m_segments.isEmpty())
        return 0.0;
    const auto it =
        std::upper_bound(m_segments.cbegin(), m_segments.cend(), s,
                         [](double value, const Segment &segment) { return value < segment.end; });
    return it == m_segments.cend() ? m_segments.last().darkness : it->darkness;
}
