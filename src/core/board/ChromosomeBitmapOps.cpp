#include "core/board/ChromosomeBitmapOps.h"
#include "core/board/Karyogram.h"

#include "core/board/FastResample.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace queldo {

namespace {

constexpr double Pi = 3.141592653589793;

std::atomic<bool> portableOnly{false};

bool portable()
{
    return portableOnly.load(std::memory_order_relaxed);
}

// The sampling rule, shared by both routines: bilinear around the source centre, white outside.
// Along one axis a position x gives the source index W/2 + xi and the fraction x - xi, with
//   xi = trunc(x) for x > 0, trunc(x - 1) otherwise.
// Every step is rounded to a 32-bit float and this library is built without FMA contraction,
// so the results are the same on every machine. The kernels (FastResample*.cpp) take these
// values from tables and mix the four pixels as
//   trunc((1 - fy) * ((1 - fx) * P00 + fx * P10) + fy * ((1 - fx) * P01 + fx * P11)),
// each product and sum rounded in that order.
struct AxisSample
{
    int source;
    float fraction;
    bool inside;
};

inline AxisSample axisSample(float x, int size)
{
    const int xi = x > 0.0f ? int(x) : int(x - 1.0f);
    const int s = size / 2 + xi;
    return {s, x - float(xi), s >= 0 && s < size - 1};
}

bool isUsableFactor(float f)
{
    return std::isfinite(f) && f > 0.0f && f <= LargestScale;
}

fast::PixelTarget bgrTarget(Bgr24Image &image)
{
    return {image.bytes.data(), std::ptrdiff_t(image.stride()), 0, fast::TargetForm::Bgr,
            std::ptrdiff_t(image.bytes.size())};
}

// Planes of width x height for the kernels to write, padded, filled with white.
fast::PixelSource whitePlanes(std::vector<std::uint8_t> &bytes, int width, int height, int channels)
{
    const std::ptrdiff_t step = std::ptrdiff_t(width) * height + fast::PlanePadding;
    bytes.assign(std::size_t(step) * std::size_t(channels), 255);
    return {bytes.data(), width, step, channels, width, height};
}

fast::PixelTarget targetOf(const fast::PixelSource &planes)
{
    return {const_cast<std::uint8_t *>(planes.data), planes.stride, planes.planeStep,
            fast::TargetForm::Planes, planes.planeStep};
}

// The source in planes: one, its blue plane, when it is grey throughout, else blue, green, red.
fast::PixelSource sourcePlanes(const Bgr24Image &image)
{
    thread_local std::vector<std::uint8_t> bytes;
    const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
    const std::ptrdiff_t step = std::ptrdiff_t(count) + fast::PlanePadding;
    bytes.resize(3 * std::size_t(step));
    const bool grey = fast::splitPlanes(image.bytes.data(), count, bytes.data(), step, portable());
    return {bytes.data(), image.width, step, grey ? 1 : 3, image.width, image.height};
}

struct ScaledSize
{
    int width = 0;
    int height = 0;
    int halfW = 0;
    int halfH = 0;
};

ScaledSize scaledSize(const Bgr24Image &source, float factor)
{
    return {int(float(source.width) * factor), int(float(source.height) * factor - 1.0f),
            int(float(source.width) * factor * 0.5f), int(float(source.height) * factor * 0.5f)};
}

// One axis of the scaling: the samples of the positions (k - half) / factor for k from 0 to
// count - 1, and the run [first, end) of those that reach the source (as k grows the position
// never falls, nor does the source index, so they are one run). The divisions have a loop of
// their own, which the compiler does in vector registers.
struct AxisTable
{
    std::vector<float> position;
    std::vector<std::int32_t> source;
    std::vector<float> fraction, rest;
    int first = 0, end = 0;

    void fill(int count, int half, float factor, int size, int padding)
    {
        count = std::max(count, 0);
        position.resize(std::size_t(count));
        float *x = position.data();
        for (int k = 0; k < count; ++k)
            x[k] = float(k - half) / factor;
        source.assign(std::size_t(count + padding), 0);
        fraction.assign(source.size(), 0.0f);
        rest.assign(source.size(), 0.0f);
        first = end = count;
        for (int k = 0; k < count; ++k) {
            const AxisSample a = axisSample(x[k], size);
            if (!a.inside)
                continue;
            if (first == count)
                first = k;
            end = k + 1;
            source[k] = a.source;
            fraction[k] = a.fraction;
            rest[k] = 1.0f - a.fraction;
        }
    }
};

// Output column dx stands for j = dx - halfW and shows x = j / factor, output row dy likewise
// i = dy - halfH; so fx, 1 - fx and the source column depend on the column alone, and fy,
// 1 - fy and the source row on the row alone. Both are tabled once.
bool runScale(const fast::PixelSource &src, float factor, const ScaledSize &size,
              const fast::PixelTarget &target)
{
    thread_local AxisTable columns, rows;
    columns.fill(std::min(size.width, 2 * size.halfW + 1), size.halfW, factor, src.width,
                 fast::TablePadding);
    rows.fill(std::min(size.height, 2 * size.halfH), size.halfH, factor, src.height, 0);
    if (columns.first >= columns.end || rows.first >= rows.end)
        return false;

    fast::ScaleJob job;
    job.source = src;
    job.target = target;
    job.firstColumn = columns.first;
    job.endColumn = columns.end;
    job.firstRow = rows.first;
    job.endRow = rows.end;
    job.columnSource = columns.source.data() + columns.first;
    job.columnFraction = columns.fraction.data() + columns.first;
    job.columnRest = columns.rest.data() + columns.first;
    job.rowSource = rows.source.data() + rows.first;
    job.rowFraction = rows.fraction.data() + rows.first;
    job.rowRest = rows.rest.data() + rows.first;
    return fast::scale(job, portable());
}

// The columns j of row i whose position (x, y) = (ct*j - st*i, st*j + ct*i) can reach the
// source. Reaching it means W/2 + xi in [0, W - 2], so -W/2 < x < W - 1 - W/2 up to the rounding
// of x - 1, and likewise for y. The float positions differ from the exact ones by far less than
// the margin kept here, so no column outside the interval reaches the source; the kernels test
// every column inside it.
class ReachableColumns
{
public:
    ReachableColumns(float ct, float st, int halfW, int width, int srcW, int srcH)
        : m_ct(ct), m_st(st), m_first(-halfW), m_last(width - 1 - halfW),
          m_x(ct, -(srcW / 2), srcW - 1 - srcW / 2, margin(width, srcW, srcH)),
          m_y(st, -(srcH / 2), srcH - 1 - srcH / 2, margin(width, srcW, srcH))
    {
    }

    void row(int i, int halfW, int &begin, int &end) const
    {
        double lo = m_first;
        double hi = m_last;
        m_x.keep(-m_st * i, lo, hi); // x = ct*j - st*i
        m_y.keep(m_ct * i, lo, hi);  // y = st*j + ct*i
        if (lo > hi) {
            begin = end = 0;
            return;
        }
        // Whole columns around [lo, hi], which lies within [m_first, m_last].
        const int first = int(lo) - (double(int(lo)) > lo ? 1 : 0);
        const int last = int(hi) + (double(int(hi)) < hi ? 1 : 0);
        begin = std::max(first, m_first) + halfW;
        end = std::min(last, m_last) + halfW + 1;
    }

private:
    static double margin(int width, int srcW, int srcH)
    {
        return 0.01 + 1e-6 * (double(width) + srcW + srcH);
    }

    // a * j + b must lie within (low, high).
    struct Bound
    {
        Bound(float a, double low, double high, double margin)
            : a(a), low(low - margin), high(high + margin),
              inverse(a != 0.0f ? 1.0 / double(a) : 0.0)
        {
        }
        void keep(double b, double &lo, double &hi) const
        {
            if (std::abs(a) < 1e-12f) { // a * j is far below the margin: x or y is b throughout
                if (b <= low || b >= high)
                    hi = lo - 1.0;
                return;
            }
            double j0 = (low - b) * inverse;
            double j1 = (high - b) * inverse;
            if (j0 > j1)
                std::swap(j0, j1);
            lo = std::max(lo, j0);
            hi = std::min(hi, j1);
        }
        float a;
        double low, high, inverse;
    };

    double m_ct, m_st;
    int m_first, m_last;
    Bound m_x, m_y;
};

// Output column dx stands for j = dx - halfW, row dy for i = dy - halfH; ct*j and st*j are
// tabled per column, st*i and ct*i per row, and the kernels subtract or add them: the same
// products and the same single rounding of the sum as computing each pixel afresh.
bool runRotate(const fast::PixelSource &src, float angleDegrees, QSize size,
               const fast::PixelTarget &target)
{
    thread_local std::vector<float> columnX, columnY, rowX, rowY;
    thread_local std::vector<int> rowBegin, rowEnd;

    const int width = size.width();
    const int height = size.height();
    const int halfW = (width + 1) / 2;
    const int halfH = (height + 1) / 2;
    const float t = float(double(angleDegrees) * Pi / 180.0);
    const float ct = std::cos(t);
    const float st = std::sin(t);

    // Padded with the columns beyond the last: the kernels read whole vectors.
    columnX.resize(std::size_t(width) + fast::TablePadding);
    columnY.resize(columnX.size());
    for (int dx = 0; dx < int(columnX.size()); ++dx) {
        columnX[dx] = ct * float(dx - halfW);
        columnY[dx] = st * float(dx - halfW);
    }
    rowX.resize(std::size_t(height));
    rowY.resize(rowX.size());
    rowBegin.resize(rowX.size());
    rowEnd.resize(rowX.size());
    const ReachableColumns reachable(ct, st, halfW, width, src.width, src.height);
    for (int dy = 0; dy < height; ++dy) {
        const int i = dy - halfH;
        rowX[dy] = st * float(i);
        rowY[dy] = ct * float(i);
        reachable.row(i, halfW, rowBegin[dy], rowEnd[dy]);
    }

    fast::RotateJob job;
    job.source = src;
    job.target = target;
    job.rows = height;
    job.columnX = columnX.data();
    job.columnY = columnY.data();
    job.rowX = rowX.data();
    job.rowY = rowY.data();
    job.rowBegin = rowBegin.data();
    job.rowEnd = rowEnd.data();
    return fast::rotate(job, portable());
}

const QList<QRgb> &greyPalette()
{
    // Chromosome pictures are grey: 256 grey levels keep them exact.
    static const QList<QRgb> palette = [] {
        QList<QRgb> p;
        for (int v = 0; v < 255; ++v)
            p << qRgb(v, v, v);
        p << qRgba(255, 255, 255, 0);
        return p;
    }();
    return palette;
}

// 6 x 7 x 6 levels; the brightest entry stands in for white only when a pixel is white.
constexpr int CubeSize = fast::CubeWhiteIndex;

const QList<QRgb> &colourPalette()
{
    static const QList<QRgb> palette = [] {
        QList<QRgb> p;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    p << qRgb(r * 51, g * 255 / 6, b * 51);
        p[CubeSize - 1] = qRgb(250, 250, 250); // the cube's own white, so it never is one
        p << qRgba(255, 255, 255, 0);
        return p;
    }();
    return palette;
}

// A grey picture stays grey through scaling and turning: every channel goes through the same
// arithmetic on the same values, and white is grey too. So a grey source is drawn as one byte a
// pixel from start to end, and those bytes are its 8-bit picture. A colour one is drawn on three
// planes, and its last step writes palette entries instead of levels.
QImage indexedPicture(QSize size, bool grey)
{
    QImage out(size, QImage::Format_Indexed8);
    if (out.isNull())
        return out;
    out.setColorTable(grey ? greyPalette() : colourPalette());
    std::memset(out.bits(), grey ? 255 : fast::CubeWhiteIndex, std::size_t(out.sizeInBytes()));
    return out;
}

fast::PixelTarget indexedTarget(QImage &image, bool grey)
{
    return {image.bits(), std::ptrdiff_t(image.bytesPerLine()), 0,
            grey ? fast::TargetForm::Planes : fast::TargetForm::CubeIndex,
            std::ptrdiff_t(image.sizeInBytes())};
}

fast::PixelSource bluePlane(fast::PixelSource planes)
{
    planes.channels = 1;
    return planes;
}

// The last step of a piece, writing its 8-bit picture. Colour may turn grey on the way (a
// coloured rim cut off); the picture then takes the grey palette, and the step is run again on
// the blue plane, which then holds every channel.
template <class Step> QImage finishIndexed(QSize size, const fast::PixelSource &planes, Step step)
{
    const bool grey = planes.channels == 1;
    QImage out = indexedPicture(size, grey);
    if (out.isNull())
        return out;
    if (step(planes, indexedTarget(out, grey)) || grey)
        return out;
    out = indexedPicture(size, true);
    step(bluePlane(planes), indexedTarget(out, true));
    return out;
}

} // namespace

const QList<QRgb> &greyPiecePalette()
{
    return greyPalette();
}

void usePortablePixelCode(bool portable)
{
    portableOnly.store(portable, std::memory_order_relaxed);
}

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
    const ScaledSize size = scaledSize(source, factor);
    if (size.width <= 0 || size.height <= 0)
        return Bgr24Image(std::max(size.width, 0), std::max(size.height, 0));
    Bgr24Image dst(size.width, size.height);
    runScale(sourcePlanes(source), factor, size, bgrTarget(dst));
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
    runRotate(sourcePlanes(source), angleDegrees, size, bgrTarget(dst));
    return dst;
}

QImage reduceToIndexed8(const Bgr24Image &image)
{
    QImage out(image.width, image.height, QImage::Format_Indexed8);
    if (image.isNull() || out.isNull())
        return out;
    // Grey levels row by row until a row holds colour; then cube entries for the whole picture.
    int y = 0;
    while (y < image.height &&
           fast::greyPlane(image.row(y), std::size_t(image.width), out.scanLine(y), portable()))
        ++y;
    out.setColorTable(y == image.height ? greyPalette() : colourPalette());
    if (y == image.height)
        return out;
    thread_local std::vector<std::uint8_t> planes;
    const std::ptrdiff_t step = image.width + fast::PlanePadding;
    planes.resize(3 * std::size_t(step));
    for (y = 0; y < image.height; ++y) {
        fast::splitPlanes(image.row(y), std::size_t(image.width), planes.data(), step, portable());
        fast::cubeIndexes(planes.data(), planes.data() + step, planes.data() + 2 * step,
                          image.width, out.scanLine(y), portable());
    }
    return out;
}

QImage renderPiece(const Bgr24Image &source, float scale, int rotationStep)
{
    const float angle = float(rotationStep) * 15.0f;
    if (!isUsableFactor(scale) || source.isNull())
        return reduceToIndexed8({});
    const ScaledSize scaled = scaledSize(source, scale);
    if (scaled.width <= 0 || scaled.height <= 0)
        return reduceToIndexed8({});
    const QSize size = rotatedSize(scaled.width, scaled.height, angle);
    if (size.isEmpty())
        return reduceToIndexed8({});
    const fast::PixelSource src = sourcePlanes(source);
    thread_local std::vector<std::uint8_t> scaledBytes;
    const fast::PixelSource scaledPlanes =
        whitePlanes(scaledBytes, scaled.width, scaled.height, src.channels);
    runScale(src, scale, scaled, targetOf(scaledPlanes));
    return finishIndexed(size, scaledPlanes,
                         [&](const fast::PixelSource &planes, const fast::PixelTarget &target) {
                             return runRotate(planes, angle, size, target);
                         });
}

QImage renderUpright(const Bgr24Image &source, float scale)
{
    if (!isUsableFactor(scale) || source.isNull())
        return reduceToIndexed8({});
    const ScaledSize scaled = scaledSize(source, scale);
    if (scaled.width <= 0 || scaled.height <= 0)
        return reduceToIndexed8(Bgr24Image(std::max(scaled.width, 0), std::max(scaled.height, 0)));
    return finishIndexed(QSize(scaled.width, scaled.height), sourcePlanes(source),
                         [&](const fast::PixelSource &planes, const fast::PixelTarget &target) {
                             return runScale(planes, scale, scaled, target);
                         });
}

} // namespace queldo
