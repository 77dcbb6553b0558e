#include "ChromosomeBitmapOps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace queldo {

namespace {

constexpr double Pi = 3.141592653589793;

// The sampling rule shared by both routines: bilinear around the source centre, white outside.
// Every step is rounded to a 32-bit float, and this file is built without FMA contraction,
// so the results are the same on every machine.
inline void sample(const Bgr24Image &src, float x, float y, std::uint8_t *out)
{
    const int xi = x > 0.0f ? int(x) : int(x - 1.0f);
    const int yi = y > 0.0f ? int(y) : int(y - 1.0f);
    const float fx = x - float(xi);
    const float fy = y - float(yi);
    const int sx = src.width / 2 + xi;
    const int sy = src.height / 2 + yi;
    if (sx < 0 || sx >= src.width - 1 || sy < 0 || sy >= src.height - 1) {
        out[0] = out[1] = out[2] = 255;
        return;
    }
    const std::uint8_t *r0 = src.row(sy) + 3 * sx;
    const std::uint8_t *r1 = src.row(sy + 1) + 3 * sx;
    const float gx = 1.0f - fx;
    const float gy = 1.0f - fy;
    for (int c = 0; c < 3; ++c) {
        const float top = gx * float(r0[c]) + fx * float(r0[c + 3]);
        const float bottom = gx * float(r1[c]) + fx * float(r1[c + 3]);
        out[c] = std::uint8_t(int(gy * top + fy * bottom));
    }
}

bool isUsableFactor(float f)
{
    // Beyond 64 a chromosome bitmap would fill the screen many times over.
    return std::isfinite(f) && f > 0.0f && f <= 64.0f;
}

} // namespace

QSize rotatedSize(int width, int height, float angleDegrees)
{
    float b = angleDegrees;
    if (b > 180.0f)
        b -= 180.0f;
    if (b > 90.0f)
        b = 180.0f - b;
    // Kept in double precision: with the angle rounded to a float, cos(90 degrees) is not 0 and
    // a quarter turn would lose a row of the picture.
    const double rb = double(b) * Pi / 180.0;
    const double c = std::cos(rb);
    const double s = std::sin(rb);
    return QSize(int(c * width + s * height), int(s * width + c * height));
}

Bgr24Image ScaleChromosomeBitmap(const Bgr24Image &source, float factor)
{
    if (!isUsableFactor(factor) || source.isNull())
        return {};
    const int width = int(float(source.width) * factor);
    const int height = int(float(source.height) * factor - 1.0f);
    if (width <= 0 || height <= 0)
        return Bgr24Image(std::max(width, 0), std::max(height, 0));
    Bgr24Image dst(width, height);
    const int halfW = int(float(source.width) * factor * 0.5f);
    const int halfH = int(float(source.height) * factor * 0.5f);
    for (int i = -halfH; i <= halfH - 1; ++i) {
        const int dy = halfH + i;
        if (dy < 0 || dy >= height)
            continue;
        const float y = float(i) / factor;
        std::uint8_t *row = dst.row(dy);
        for (int j = -halfW; j <= halfW; ++j) {
            const int dx = halfW + j;
            if (dx < 0 || dx >= width)
                continue;
            sample(source, float(j) / factor, y, row + 3 * dx);
        }
    }
    return dst;
}

Bgr24Image RotateChromosomeBitmap(const Bgr24Image &source, float angleDegrees)
{
    if (source.isNull() || !std::isfinite(angleDegrees))
        return {};
    const QSize size = rotatedSize(source.width, source.height, angleDegrees);
    if (size.isEmpty())
        return {};
    Bgr24Image dst(size.width(), size.height());
    const int halfW = (size.width() + 1) / 2;
    const int halfH = (size.height() + 1) / 2;
    const float t = float(double(angleDegrees) * Pi / 180.0);
    const float ct = std::cos(t);
    const float st = std::sin(t);
    for (int i = -halfH; i <= halfH - 1; ++i) {
        const int dy = halfH + i;
        if (dy < 0 || dy >= dst.height)
            continue;
        std::uint8_t *row = dst.row(dy);
        for (int j = -halfW; j <= halfW; ++j) {
            const int dx = halfW + j;
            if (dx < 0 || dx >= dst.width)
                continue;
            const float x = ct * float(j) - st * float(i);
            const float y = st * float(j) + ct * float(i);
            sample(source, x, y, row + 3 * dx);
        }
    }
    return dst;
}

QImage reduceToIndexed8(const Bgr24Image &image)
{
    QImage out(image.width, image.height, QImage::Format_Indexed8);
    if (image.isNull())
        return out;
    bool grey = true;
    for (std::size_t k = 0; grey && k < image.bytes.size(); k += 3)
        grey = image.bytes[k] == image.bytes[k + 1] && image.bytes[k] == image.bytes[k + 2];

    QList<QRgb> palette;
    if (grey) {
        // Chromosome pictures are grey: 256 grey levels keep them exact.
        for (int v = 0; v < 256; ++v)
            palette << qRgb(v, v, v);
    } else {
        // 6 x 7 x 6 levels; the brightest entry stands in for white only when a pixel is white.
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    palette << qRgb(r * 51, g * 255 / 6, b * 51);
        palette << qRgb(255, 255, 255);
    }
    const int whiteIndex = int(palette.size()) - 1;
    if (!grey)
        palette[whiteIndex - 1] = qRgb(250, 250, 250); // the cube's own white, so it never is one
    palette[whiteIndex] = qRgba(255, 255, 255, 0);
    out.setColorTable(palette);

    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t *src = image.row(y);
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < image.width; ++x) {
            const int b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
            if (grey) {
                dst[x] = uchar(b);
            } else if (r == 255 && g == 255 && b == 255) {
                dst[x] = uchar(whiteIndex);
            } else {
                const int ri = (r + 25) / 51, gi = (g * 6 + 127) / 255, bi = (b + 25) / 51;
                dst[x] = uchar((ri * 7 + gi) * 6 + bi);
            }
        }
    }
    return out;
}

QImage renderPiece(const Bgr24Image &source, float scale, int rotationStep)
{
    return reduceToIndexed8(
        RotateChromosomeBitmap(ScaleChromosomeBitmap(source, scale), float(rotationStep) * 15.0f));
}

QImage renderUpright(const Bgr24Image &source, float scale)
{
    return reduceToIndexed8(ScaleChromosomeBitmap(source, scale));
}

} // namespace queldo
