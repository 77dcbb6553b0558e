#include "chromosomerenderer.h"

#include "gaussianblur.h"
#include "seededrandom.h"
#include "valuenoise.h"

#include <QRect>
#include <algorithm>
#include <cmath>

namespace {

constexpr double SampleStep = 0.25;
// Below this much absorbed light a pixel counts as background and is pure white.
constexpr float InkThreshold = 1.5f / 255.0f;

double gaussian(double x, double width)
{
    return std::exp(-(x * x) / (width * width));
}

// Thickness of a chromatid at normalised distance² from its centre line: a
// rounded, slightly flat-topped cross-section rather than a hard-edged bar.
double chromatidProfile(double distanceSquared)
{
    return distanceSquared < 1.0 ? std::pow(1.0 - distanceSquared, 0.35) : 0.0;
}

double unionInk(double a, double b)
{
    return 1.0 - (1.0 - a) * (1.0 - b);
}

} // namespace

ChromosomeRenderer::ChromosomeRenderer(const ChromosomeLayout &layout,
                                       const ChromosomeAppearance &appearance)
    : m_layout(layout), m_appearance(appearance)
{
    const double tilt = appearance.tiltDegrees * M_PI / 180.0;
    m_cosTilt = std::cos(tilt);
    m_sinTilt = std::sin(tilt);
    const double halfWidth = appearance.chromatidHalfWidth;
    m_reach = halfWidth * (appearance.chromatidSpacing * 1.2 + 1.1) + 1.0;

    const double bendReach = std::abs(appearance.bow) + std::abs(appearance.sway);
    const double pad = appearance.margin + 3.0 * appearance.edgeSoftness + 3.0;
    const double halfLength = layout.length() / 2.0 + halfWidth;
    const double halfSpan = m_reach + bendReach;
    m_canvasWidth =
        2 * int(std::ceil(halfSpan * m_cosTilt + halfLength * std::abs(m_sinTilt) + pad));
    m_canvasHeight =
        2 * int(std::ceil(halfLength * m_cosTilt + halfSpan * std::abs(m_sinTilt) + pad));
    m_pivot = QPointF(m_canvasWidth / 2.0, m_canvasHeight / 2.0);
    sampleAxis();
}

void ChromosomeRenderer::sampleAxis()
{
    const ChromosomeAppearance &a = m_appearance;
    const double length = m_layout.length();
    const double halfWidth = a.chromatidHalfWidth;
    const double centromere = m_layout.centromere();
    const double bodyStart = m_layout.bodyStart();
    const bool acrocentric = m_layout.hasSatellite();
    m_sampleStart = -m_reach;
    const int count = int(std::ceil((length + 2.0 * m_reach) / SampleStep)) + 1;

    SeededRandom random(SeededRandom::derive(a.seed, 1));
    const double wobblePhase1 = random.uniform(0.0, 2.0 * M_PI);
    const double wobblePhase2 = random.uniform(0.0, 2.0 * M_PI);
    const double wobbleWave1 = halfWidth * random.uniform(3.5, 5.0);
    const double wobbleWave2 = halfWidth * random.uniform(8.0, 12.0);

    std::vector<double> darkness(count);
    m_axis.assign(count, AxisSample{});
    for (int i = 0; i < count; ++i) {
        const double s = m_sampleStart + i * SampleStep;
        AxisSample &sample = m_axis[i];
        darkness[i] = m_layout.darknessAt(s);

        const double nearCentromere = gaussian(s - centromere, 0.9 * halfWidth);
        const double wobble = 0.025 * std::sin(2.0 * M_PI * s / wobbleWave1 + wobblePhase1) +
                              0.02 * std::sin(2.0 * M_PI * s / wobbleWave2 + wobblePhase2);
        sample.widthScale = (1.0 - a.constrictionDepth * nearCentromere) * (1.0 + wobble);
        // Sisters are held together at the centromere and drift apart at the tips.
        const double nearTips = (acrocentric ? 0.0 : gaussian(s - bodyStart, halfWidth)) +
                                gaussian(length - s, halfWidth);
        sample.spacingScale =
            1.0 - 0.55 * gaussian(s - centromere, 1.1 * halfWidth) + 0.12 * nearTips;
        if (acrocentric) {
            // The short arm below the stalk is a slim knob, not a full-width arm.
            const double shortArm =
                1.0 - ValueNoise::smoothStep((s - centromere) / (0.5 * halfWidth) + 0.5);
            sample.widthScale *= 1.0 - 0.2 * shortArm;
            sample.spacingScale *= 1.0 - 0.4 * shortArm;
        }

        const double u = std::clamp(s / length, 0.0, 1.0);
        sample.bend = a.bow * std::sin(M_PI * u) + a.sway * std::sin(2.0 * M_PI * u);
    }
    GaussianBlur::blurLine(darkness, a.bandSoftness / SampleStep);
    for (int i = 0; i < count; ++i)
        m_axis[i].darkness = darkness[i];
}

ChromosomeRenderer::AxisSample ChromosomeRenderer::axisAt(double s) const
{
    const double position =
        std::clamp((s - m_sampleStart) / SampleStep, 0.0, double(m_axis.size() - 1));
    const int index = std::min(int(position), int(m_axis.size()) - 2);
    const double f = position - index;
    const AxisSample &a = m_axis[index];
    const AxisSample &b = m_axis[index + 1];
    return {a.darkness + f * (b.darkness - a.darkness),
            a.widthScale + f * (b.widthScale - a.widthScale),
            a.spacingScale + f * (b.spacingScale - a.spacingScale), a.bend + f * (b.bend - a.bend)};
}

double ChromosomeRenderer::bandInk(double darkness) const
{
    return m_appearance.inkPale + (m_appearance.inkDark - m_appearance.inkPale) * darkness;
}

double ChromosomeRenderer::bodyInk(double s, double t, const AxisSample &axis) const
{
    const double halfWidth = m_appearance.chromatidHalfWidth;
    const double bodyStart = m_layout.bodyStart();
    const double bodyEnd = m_layout.length();
    const double capRadius = 0.9 * halfWidth;
    double along = 0.0;
    if (s < bodyStart + capRadius)
        along = (bodyStart + capRadius - s) / capRadius;
    else if (s > bodyEnd - capRadius)
        along = (s - (bodyEnd - capRadius)) / capRadius;
    if (along >= 1.0)
        return 0.0;

    const double chromatidWidth = halfWidth * axis.widthScale;
    const double offset = halfWidth * m_appearance.chromatidSpacing * axis.spacingScale;
    // Only the outer flank of each chromatid is ragged; where the sisters
    // touch the outline is hidden anyway.
    const double roughness = m_appearance.edgeRoughness;
    const double leftWidth = chromatidWidth * (1.0 + roughness * edgeNoise(s, t < -offset ? 0 : 2));
    const double rightWidth = chromatidWidth * (1.0 + roughness * edgeNoise(s, t > offset ? 1 : 2));
    const double left = (t + offset) / leftWidth;
    const double right = (t - offset) / rightWidth;
    const double thickness = unionInk(chromatidProfile(left * left + along * along),
                                      chromatidProfile(right * right + along * along));
    const double darkness = axisAt(s + bandShift(s, t)).darkness;
    return bandInk(darkness) * thickness;
}

double ChromosomeRenderer::edgeNoise(double s, int side) const
{
    return ValueNoise::along(s / (0.8 * m_appearance.mottleScale), side,
                             SeededRandom::derive(m_appearance.seed, 4));
}

double ChromosomeRenderer::bandShift(double s, double t) const
{
    const double across = t / m_appearance.chromatidHalfWidth;
    const double twist = std::sin(2.0 * M_PI * s / (8.0 * m_appearance.chromatidHalfWidth));
    return m_appearance.bandBow * across * across + m_appearance.bandSkew * twist * across;
}

double ChromosomeRenderer::stalkInk(double s, double t) const
{
    if (!m_layout.hasSatellite())
        return 0.0;
    const double top = m_layout.satelliteEnd() * 0.5;
    const double bottom = m_layout.bodyStart() + m_appearance.chromatidHalfWidth * 0.5;
    if (s < top || s > bottom)
        return 0.0;
    const double radius = std::max(0.5, 0.22 * m_appearance.chromatidHalfWidth);
    const double d = t / radius;
    return d * d < 1.0 ? 0.75 * bandInk(0.1) * std::sqrt(1.0 - d * d) : 0.0;
}

double ChromosomeRenderer::satelliteInk(double s, double t) const
{
    if (!m_layout.hasSatellite())
        return 0.0;
    const double halfWidth = m_appearance.chromatidHalfWidth;
    const double centre = m_layout.satelliteEnd() * 0.5;
    const double radiusAlong = std::max(0.7, m_layout.satelliteEnd() * 0.55);
    const double radiusAcross = 0.45 * halfWidth;
    const double offset = 0.28 * halfWidth;
    const double along = (s - centre) / radiusAlong;
    const double left = (t + offset) / radiusAcross;
    const double right = (t - offset) / radiusAcross;
    const double thickness = unionInk(chromatidProfile(left * left + along * along),
                                      chromatidProfile(right * right + along * along));
    return bandInk(m_layout.darknessAt(centre)) * thickness;
}

// Blotches follow the chromosome's own coordinates, so they bend and tilt
// with it.
double ChromosomeRenderer::mottleAt(double s, double t) const
{
    const double scale = m_appearance.mottleScale;
    return ValueNoise::plane(t / scale, s / scale, SeededRandom::derive(m_appearance.seed, 2));
}

double ChromosomeRenderer::inkAt(double s, double t) const
{
    if (s < -m_reach || s > m_layout.length() + m_reach)
        return 0.0;
    const AxisSample axis = axisAt(s);
    t -= axis.bend;
    if (std::abs(t) > m_reach)
        return 0.0;
    double ink = bodyInk(s, t, axis);
    ink = unionInk(ink, stalkInk(s, t));
    ink = unionInk(ink, satelliteInk(s, t));
    if (ink <= 0.0)
        return 0.0;
    return std::clamp(ink * (1.0 + m_appearance.mottle * mottleAt(s, t)), 0.0, 1.0);
}

QPointF ChromosomeRenderer::toCanvas(double s, double t) const
{
    const double u = t + axisAt(s).bend;
    const double v = s - m_layout.length() / 2.0;
    return m_pivot + QPointF(u * m_cosTilt - v * m_sinTilt, u * m_sinTilt + v * m_cosTilt);
}

ChromosomePicture ChromosomeRenderer::render(int chromosome) const
{
    const int width = m_canvasWidth;
    const int height = m_canvasHeight;
    const double halfLength = m_layout.length() / 2.0;
    std::vector<float> ink(size_t(width) * size_t(height), 0.0f);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = x + 0.5 - m_pivot.x();
            const double dy = y + 0.5 - m_pivot.y();
            const double u = dx * m_cosTilt + dy * m_sinTilt;
            const double v = -dx * m_sinTilt + dy * m_cosTilt;
            ink[size_t(y) * width + x] = float(inkAt(v + halfLength, u));
        }
    }
    GaussianBlur::blurField(ink, width, height, m_appearance.edgeSoftness);

    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (ink[size_t(y) * width + x] > InkThreshold) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    const QRect bounds = right < 0 ? QRect(width / 2, height / 2, 1, 1)
                                   : QRect(QPoint(left, top), QPoint(right, bottom));
    const int margin = m_appearance.margin;
    const QRect crop = bounds.adjusted(-margin, -margin, margin, margin);

    QImage image(crop.size(), QImage::Format_RGB888);
    image.fill(Qt::white);
    SeededRandom grain(SeededRandom::derive(m_appearance.seed, 3));
    for (int y = 0; y < crop.height(); ++y) {
        uchar *line = image.scanLine(y);
        const int canvasY = crop.top() + y;
        for (int x = 0; x < crop.width(); ++x) {
            const int canvasX = crop.left() + x;
            if (canvasX < 0 || canvasY < 0 || canvasX >= width || canvasY >= height)
                continue;
            const double value = ink[size_t(canvasY) * width + canvasX];
            if (value <= InkThreshold)
                continue;
            const double presence = std::min(1.0, value / 0.15);
            const double grey =
                255.0 * (1.0 - value) + m_appearance.grain * presence * grain.normal();
            // 255 is the background's own value; the chromosome never reaches it.
            const uchar level = uchar(std::clamp(std::lround(grey), 0L, 254L));
            line[3 * x] = line[3 * x + 1] = line[3 * x + 2] = level;
        }
    }

    ChromosomePicture picture;
    picture.chromosome = chromosome;
    picture.image = image;
    picture.layout = m_layout;
    const QPointF origin = crop.topLeft();
    picture.topTip = toCanvas(0.0, 0.0) - origin;
    picture.bottomTip = toCanvas(m_layout.length(), 0.0) - origin;
    picture.centromere = toCanvas(m_layout.centromere(), 0.0) - origin;
    return picture;
}
