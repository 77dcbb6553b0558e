#include "core/board/Ideogram.h"

#include "core/board/ChromosomeId.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace queldo {

namespace {

// Specks of dust or noise narrower than this do not make a chromosome row.
constexpr int MinimumRowPixels = 2;
// The rounded tips are narrow too: no constriction is looked for this close to them, as a share
// of the chromosome's length.
constexpr double TipMargin = 0.04;
// The ideogram's width at the centromere, as a share of its full width, and the fewest rows on
// either side over which it narrows to that.
constexpr double Waist = 0.35;
constexpr double WaistRows = 3.0;

int greyAt(const QImage &image, int x, int y)
{
    const QRgb pixel = image.pixel(x, y);
    return qAlpha(pixel) < 128 ? 255 : qGray(pixel);
}

// The background's grey: the median of the picture's outermost pixels.
int backgroundGrey(const QImage &image)
{
    std::vector<int> border;
    for (int x = 0; x < image.width(); ++x) {
        border.push_back(greyAt(image, x, 0));
        border.push_back(greyAt(image, x, image.height() - 1));
    }
    for (int y = 0; y < image.height(); ++y) {
        border.push_back(greyAt(image, 0, y));
        border.push_back(greyAt(image, image.width() - 1, y));
    }
    std::nth_element(border.begin(), border.begin() + std::ptrdiff_t(border.size() / 2),
                     border.end());
    return border[border.size() / 2];
}

} // namespace

CentromereSearch centromereSearchFor(const BandTable &table, int chromosome)
{
    CentromereSearch search;
    search.expected = table.centromereIndex(chromosome);
    // Condensation and heterochromatin move the centromere of single copies by a few hundredths
    // of the length. The acrocentrics show only a slight constriction: their stalk a little
    // further up is narrower, and so may be a pale band or a bend of the long arm.
    if (ChromosomeId::isAcrocentric(chromosome)) {
        search.above = 0.06;
        search.below = 0.08;
    }
    return search;
}

ChromosomeSpan findChromosomeSpan(const QImage &picture, const CentromereSearch &search)
{
    ChromosomeSpan span;
    if (picture.isNull())
        return span;
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int threshold = backgroundGrey(image) - 20;

    std::vector<int> count(std::size_t(image.height()), 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (greyAt(image, x, y) < threshold) {
                ++count[std::size_t(y)];
                span.right = std::max(span.right, x + 1);
            }
        }
    }
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (count[std::size_t(y)] >= MinimumRowPixels) {
            if (top < 0)
                top = y;
            bottom = y + 1;
        }
    }
    if (top < 0)
        return {};
    span.found = true;
    span.top = top;
    span.bottom = bottom;
    const int length = bottom - top;

    std::vector<int> thickness(count.begin() + top, count.begin() + bottom);
    std::nth_element(thickness.begin(), thickness.begin() + std::ptrdiff_t(thickness.size() / 2),
                     thickness.end());
    span.width = thickness[thickness.size() / 2];

    const double index = std::clamp(search.expected, 0.0, 1.0);
    const double expected = top + index * length;
    span.centromere = int(std::lround(expected));

    // Thickness along the chromosome, smoothed over three rows against grain and band edges.
    std::vector<double> smooth(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        double sum = 0;
        int n = 0;
        for (int j = std::max(0, i - 1); j <= std::min(length - 1, i + 1); ++j, ++n)
            sum += count[std::size_t(top + j)];
        smooth[std::size_t(i)] = sum / n;
    }
    // The widest row on either side of each row: a constriction is narrower than both arms.
    std::vector<double> widestAbove(std::size_t(length), 0), widestBelow(std::size_t(length), 0);
    for (int i = 1; i < length; ++i)
        widestAbove[std::size_t(i)] =
            std::max(widestAbove[std::size_t(i - 1)], smooth[std::size_t(i - 1)]);
    for (int i = length - 2; i >= 0; --i)
        widestBelow[std::size_t(i)] =
            std::max(widestBelow[std::size_t(i + 1)], smooth[std::size_t(i + 1)]);

    const int from = int(std::floor(std::max(TipMargin, index - search.above) * length));
    const int to = int(std::ceil(std::min(1.0 - TipMargin, index + search.below) * length));
    double bestDepth = 0;
    for (int i = std::max(from, 1); i <= std::min(to, length - 2); ++i) {
        const double depth = std::min(widestAbove[std::size_t(i)], widestBelow[std::size_t(i)]) -
                             smooth[std::size_t(i)];
        const bool nearer = std::abs(top + i - expected) < std::abs(span.centromere - expected);
        if (depth > bestDepth || (depth == bestDepth && depth > 0 && nearer)) {
            bestDepth = depth;
            span.centromere = top + i;
        }
    }
    if (length >= 2)
        span.centromere = std::clamp(span.centromere, top + 1, bottom - 1);
    return span;
}

int ideogramWidthFor(const ChromosomeSpan &span)
{
    return std::clamp(span.width * 3 / 5, 5, 16);
}

QImage drawIdeogram(const QList<ShadedBand> &bands, int width, int height,
                    const ChromosomeSpan &span)
{
    QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (image.isNull() || bands.isEmpty() || !span.found)
        return image;
    const int top = std::clamp(span.top, 0, height);
    const int bottom = std::clamp(span.bottom, top, height);
    const int centromere = std::clamp(span.centromere, top, bottom);
    const int length = bands.last().band.iscnEnd;
    int centromereIscn = length;
    for (const ShadedBand &shaded : bands) {
        if (!shaded.band.shortArm) {
            centromereIscn = shaded.band.iscnStart;
            break;
        }
    }
    // Rows of the centromere's own bands on each side, over which the outline closes in; at
    // least a few rows, so that the waist shows on the smallest chromosomes too.
    int acenAbove = 0, acenBelow = 0;
    for (const ShadedBand &shaded : bands) {
        if (shaded.band.stain != BandStain::Acen)
            continue;
        if (shaded.band.shortArm)
            acenAbove += shaded.band.iscnLength();
        else
            acenBelow += shaded.band.iscnLength();
    }
    const double rowsPerIscnAbove =
        centromereIscn > 0 ? double(centromere - top) / centromereIscn : 0.0;
    const double rowsPerIscnBelow =
        length > centromereIscn ? double(bottom - centromere) / (length - centromereIscn) : 0.0;
    const double pinchAbove = std::max(WaistRows, acenAbove * rowsPerIscnAbove);
    const double pinchBelow = std::max(WaistRows, acenBelow * rowsPerIscnBelow);

    const double half = width / 2.0;
    const int waistLeft = int(std::lround(half - half * Waist));
    const int waistRight = std::max(waistLeft + 1, int(std::lround(half + half * Waist)));
    const QRgb outline = qRgb(0, 0, 0);
    for (int y = top; y < bottom; ++y) {
        // The row's middle, in the table's drawing units.
        const double iscn = y < centromere
                                ? (y + 0.5 - top) / (centromere - top) * centromereIscn
                                : centromereIscn + (y + 0.5 - centromere) / (bottom - centromere) *
                                                       (length - centromereIscn);
        const ShadedBand *band = &bands.last();
        for (const ShadedBand &shaded : bands) {
            if (iscn < shaded.band.iscnEnd) {
                band = &shaded;
                break;
            }
        }
        const double reach = y < centromere ? pinchAbove : pinchBelow;
        const bool waist = std::abs(y - centromere) < reach;
        double share = 1.0;
        if (waist)
            share = Waist + (1.0 - Waist) * std::abs(y - centromere) / reach;
        else if (band->band.stain == BandStain::Stalk)
            share = 0.3;
        // Rounded tips.
        const double fromTip = std::min(y + 0.5 - top, bottom - (y + 0.5));
        if (fromTip < half) {
            const double t = (half - fromTip) / half;
            share *= std::sqrt(std::max(0.0, 1.0 - t * t));
        }
        int left = int(std::lround(half - half * share));
        int right = std::max(left + 1, int(std::lround(half + half * share)));
        // The centromere's own row stays the narrowest of the waist, whatever the rounding.
        if (waist && y != centromere) {
            left = std::min(left, waistLeft - 1);
            right = std::max(right, waistRight + 1);
        }
        const int grey = int(std::lround(255.0 * (1.0 - 0.85 * band->darkness)));
        const bool edgeRow = y == top || y == bottom - 1;
        for (int x = std::max(left, 0); x < right && x < width; ++x) {
            const bool edge = edgeRow || x == left || x == right - 1;
            image.setPixel(x, y, edge ? outline : qRgb(grey, grey, grey));
        }
    }
    return image;
}

QImage standingIdeogram(const BandTable &table, int chromosome, int width, int height)
{
    ChromosomeSpan span;
    span.found = true;
    span.top = 0;
    span.bottom = std::max(height, 0);
    span.centromere = int(span.bottom * table.centromereIndex(chromosome));
    span.width = std::max(width, 0);
    span.right = span.width;
    return drawIdeogram(table.bands(chromosome), width, height, span);
}

} // namespace queldo
