#include "core/board/PieceDisplay.h"

#include "core/board/ChromosomeBitmapOps.h"

#include <algorithm>
#include <vector>

namespace queldo {

namespace {

// The chromosome's own pixels (fully opaque) spread from black to white, then the trainee's
// tone; the background stays transparent. A picture of one level is not spread.
void stretchLevels(QImage &argb, LoupeTone tone)
{
    int darkest = 255, lightest = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(row[x]) != 255)
                continue;
            darkest = std::min(darkest, qGray(row[x]));
            lightest = std::max(lightest, qGray(row[x]));
        }
    }
    if (lightest - darkest < 8) {
        darkest = 0;
        lightest = 255;
    }
    const double gain = std::max(0.0, 1.0 + 0.25 * tone.contrast);
    const auto level = [&](int v) {
        const int stretched = (v - darkest) * 255 / (lightest - darkest);
        return std::clamp(int((stretched - 128) * gain) + 128 + 16 * tone.brightness, 0, 255);
    };
    // The soft rim is spread as the level it shows over white: left as it was, it stood out as
    // a grey outline beside the body's lightest parts, which the spread turns white.
    const auto rimLevel = [&](int colour, int alpha) {
        const int seen = 255 - (255 - colour) * alpha / 255;
        return std::clamp(255 - (255 - level(seen)) * 255 / alpha, 0, 255);
    };
    for (int y = 0; y < argb.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const int alpha = qAlpha(row[x]);
            if (alpha == 255)
                row[x] = qRgb(level(qRed(row[x])), level(qGreen(row[x])), level(qBlue(row[x])));
            else if (alpha > 0)
                row[x] = qRgba(rimLevel(qRed(row[x]), alpha), rimLevel(qGreen(row[x]), alpha),
                               rimLevel(qBlue(row[x]), alpha), alpha);
        }
    }
}

} // namespace

QImage withNearWhiteTransparent(const QImage &piece)
{
    if (piece.format() != QImage::Format_Indexed8)
        return piece;
    QImage out = piece;
    QList<QRgb> colours = out.colorTable();
    for (QRgb &c : colours) {
        const int lightest = std::min({qRed(c), qGreen(c), qBlue(c)});
        if (lightest >= NearWhiteLevel) {
            c = qRgba(qRed(c), qGreen(c), qBlue(c), 0);
        } else if (lightest >= FringeLevel) {
            // Over white, alpha a and colour k give k a + 255 (1 - a): the old colour exactly,
            // with the darkest channel drawn black, so nothing below is ever made lighter.
            const int alpha = 255 - lightest;
            const auto channel = [&](int level) { return 255 - (255 - level) * 255 / alpha; };
            c = qRgba(std::max(0, channel(qRed(c))), std::max(0, channel(qGreen(c))),
                      std::max(0, channel(qBlue(c))), alpha);
        }
    }
    out.setColorTable(colours);
    return out;
}

QRegion pickableRegion(const QImage &screenPicture, int grow)
{
    const QImage argb = screenPicture.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width(), h = argb.height();
    // Grow in two passes, along rows and then along columns, each from the pass before.
    std::vector<char> marked(std::size_t(w) * std::size_t(h), 0);
    for (int y = 0; y < h; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        char *out = marked.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) == 0)
                continue;
            for (int xx = std::max(0, x - grow); xx <= std::min(w - 1, x + grow); ++xx)
                out[xx] = 1;
        }
    }
    std::vector<char> visible(marked.size(), 0);
    for (int y = 0; y < h; ++y) {
        const char *in = marked.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) {
            if (!in[x])
                continue;
            for (int yy = std::max(0, y - grow); yy <= std::min(h - 1, y + grow); ++yy)
                visible[std::size_t(yy) * std::size_t(w) + std::size_t(x)] = 1;
        }
    }
    QList<QRect> runs;
    for (int y = 0; y < h; ++y) {
        const char *row = visible.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w;) {
            if (!row[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < w && row[x])
                ++x;
            runs.append(QRect(start, y, x - start, 1));
        }
    }
    QRegion region;
    region.setRects(runs.constData(), int(runs.size()));
    return region;
}

QImage readablePicture(const Bgr24Image &source, int rotationStep, LoupeTone tone)
{
    if (source.isNull())
        return {};
    QImage turned = withNearWhiteTransparent(renderPiece(source, 1.0f, rotationStep))
                        .convertToFormat(QImage::Format_ARGB32);
    stretchLevels(turned, tone);
    return turned;
}

QImage loupePicture(const Bgr24Image &source, int rotationStep, int maxSide, LoupeTone tone)
{
    if (source.isNull())
        return {};
    const QImage turned = readablePicture(source, rotationStep, tone);
    const int longer = std::max(turned.width(), turned.height());
    const double factor = std::min(std::max(2.0, double(LoupeLongerSide) / longer),
                                   double(std::max(1, maxSide)) / longer);
    const QSize size(std::max(1, int(turned.width() * factor)),
                     std::max(1, int(turned.height() * factor)));
    return turned.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage dragPicture(const QImage &screenPicture)
{
    QImage out = screenPicture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), qAlpha(row[x]) / 2);
    }
    return out;
}

} // namespace queldo
