// The kernels in vector code, compiled once for every instruction set Highway knows on this
// architecture and chosen at the first call for the processor at hand.
//
// Exactness: every lane goes through the same IEEE single-precision multiplies and adds as the
// scalar rule, one at a time (Mul then Add, never MulAdd; the library is built with
// -ffp-contract=off so the compiler does not fuse them either), and float-to-int conversion
// truncates as the scalar casts do (see wholeNumber).

#include "core/board/FastResample.h"

#include <algorithm>
#include <cstring>
#include <vector>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/board/FastResampleSimd.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace queldo::fast {
namespace HWY_NAMESPACE {

#if HWY_TARGET == HWY_SCALAR

// One lane at a time gains nothing over the portable code.
bool GreyPlaneImpl(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *plane)
{
    return portable::greyPlane(bgr, pixels, plane);
}
void ScaleImpl(const ScaleJob &job)
{
    portable::scale(job);
}
void RotateImpl(const RotateJob &job)
{
    portable::rotate(job);
}

#else

namespace hn = hwy::HWY_NAMESPACE;

using DF = hn::ScalableTag<float>;
using DI = hn::RebindToSigned<DF>;
using DU = hn::RebindToUnsigned<DF>;
using DB = hn::Repartition<std::uint8_t, DF>; // the bytes of one float vector
using DU8 = hn::Rebind<std::uint8_t, DF>;     // one byte for each float lane
using VF = hn::Vec<DF>;
using VI = hn::Vec<DI>;
using VU = hn::Vec<DU>;
using D16 = hn::Full128<std::uint8_t>;
using DW = hn::CappedTag<std::uint8_t, 32>; // pixels split from blue, green, red per step
constexpr int MaxLanes = int(hn::MaxLanes(DF()));

// A whole number held in a float, |v| < 2^22, as an integer: adding 1.5 * 2^23 leaves it,
// exactly, in the low bits of the mantissa. Cheaper than ConvertTo, which guards against
// overflow these values cannot reach.
constexpr float Magic = 12582912.0f;
HWY_INLINE VU wholeNumberBits(VF whole)
{
    return hn::BitCast(DU(), hn::Add(whole, hn::Set(DF(), Magic)));
}
HWY_INLINE VI wholeNumber(VF whole)
{
    return hn::Sub(hn::BitCast(DI(), wholeNumberBits(whole)),
                   hn::BitCast(DI(), hn::Set(DF(), Magic)));
}

// trunc(v) of a pixel value, 0 <= v < 256, in the low byte of each lane.
HWY_INLINE VU levelBits(VF v)
{
    return wholeNumberBits(hn::Trunc(v));
}

// (1 - f) * a + f * b, two products and a sum, each rounded.
HWY_INLINE VF mix(VF rest, VF a, VF fraction, VF b)
{
    return hn::Add(hn::Mul(rest, a), hn::Mul(fraction, b));
}

bool GreyPlaneImpl(const std::uint8_t *HWY_RESTRICT bgr, std::size_t pixels,
                   std::uint8_t *HWY_RESTRICT plane)
{
    const DW d;
    const std::size_t N = hn::Lanes(d);
    if (pixels < N)
        return portable::greyPlane(bgr, pixels, plane);
    auto differ = hn::Zero(d);
    // A last vector overlapping the one before covers the end.
    for (std::size_t x = 0;; x += N) {
        x = std::min(x, pixels - N);
        hn::Vec<DW> b, g, r;
        hn::LoadInterleaved3(d, bgr + 3 * x, b, g, r);
        differ = hn::Or(differ, hn::Or(hn::Xor(b, g), hn::Xor(b, r)));
        hn::StoreU(b, d, plane + x);
        if (x + N == pixels)
            break;
    }
    return hn::AllTrue(d, hn::Eq(differ, hn::Zero(d)));
}

// The source as NC planes of one byte a pixel, each followed by PlanePadding bytes: a plane
// handed in is used as it is, blue, green, red are split.
template <int NC> struct Planes
{
    const std::uint8_t *plane[3] = {};
    std::ptrdiff_t stride = 0;

    explicit Planes(const PixelSource &src)
    {
        if (src.pixelBytes == 1) {
            plane[0] = src.data;
            stride = src.stride;
            return;
        }
        thread_local std::vector<std::uint8_t> store;
        const std::size_t size = std::size_t(src.width) * std::size_t(src.height) + PlanePadding;
        store.resize(NC * size);
        stride = src.width;
        std::uint8_t *out[3] = {};
        for (int c = 0; c < NC; ++c)
            plane[c] = out[c] = store.data() + c * size;
        const DW d;
        const int N = int(hn::Lanes(d));
        for (int y = 0; y < src.height; ++y) {
            const std::uint8_t *row = src.data + y * src.stride;
            const std::ptrdiff_t o = y * stride;
            int x = 0;
            for (; x + N <= src.width; x += N) {
                hn::Vec<DW> b, g, r;
                hn::LoadInterleaved3(d, row + 3 * x, b, g, r);
                hn::StoreU(b, d, out[0] + o + x);
                if constexpr (NC == 3) {
                    hn::StoreU(g, d, out[1] + o + x);
                    hn::StoreU(r, d, out[2] + o + x);
                }
            }
            for (; x < src.width; ++x)
                for (int c = 0; c < NC; ++c)
                    out[c][o + x] = row[3 * x + c];
        }
    }
};

// Where a row's computed pixels go: straight into a grey target, or through a buffer of one row
// per channel that emit() then interleaves into blue, green, red.
template <int NC> class RowWriter
{
public:
    explicit RowWriter(const PixelTarget &target) : m_target(target) {}

    void start(std::uint8_t *dst, int n)
    {
        m_dst = dst;
        m_n = n;
        if (m_target.pixelBytes == 3) {
            m_channelStride = (n + MaxLanes - 1) / MaxLanes * MaxLanes;
            m_store.resize(std::size_t(NC * m_channelStride));
            m_levels = m_store.data();
        }
    }

    // The levels of the lanes from column x on; lanes past the row's end are dropped.
    HWY_INLINE void put(int x, int c, VU bits)
    {
        const auto bytes = hn::U8FromU32(bits);
        if (m_target.pixelBytes == 3) {
            hn::StoreU(bytes, DU8(), m_levels + c * m_channelStride + x);
        } else if (x + MaxLanes <= m_n) {
            hn::StoreU(bytes, DU8(), m_dst + x);
        } else {
            alignas(64) std::uint8_t last[MaxLanes];
            hn::StoreU(bytes, DU8(), last);
            for (int k = 0; x + k < m_n; ++k)
                m_dst[x + k] = last[k];
        }
    }

    void emit()
    {
        if (m_target.pixelBytes == 1)
            return;
        const std::uint8_t *b = m_levels;
        const std::uint8_t *g = NC == 3 ? m_levels + m_channelStride : m_levels;
        const std::uint8_t *r = NC == 3 ? m_levels + 2 * m_channelStride : m_levels;
        std::uint8_t *dst = m_dst;
        if (m_n < 16) {
            for (int x = 0; x < m_n; ++x) {
                dst[3 * x] = b[x];
                dst[3 * x + 1] = g[x];
                dst[3 * x + 2] = r[x];
            }
            return;
        }
        const D16 d;
        for (int x = 0;; x += 16) {
            x = std::min(x, m_n - 16); // the last vector overlaps the one before
            hn::StoreInterleaved3(hn::LoadU(d, b + x), hn::LoadU(d, g + x), hn::LoadU(d, r + x), d,
                                  dst + 3 * x);
            if (x + 16 == m_n)
                break;
        }
    }

private:
    const PixelTarget &m_target;
    std::uint8_t *m_dst = nullptr;
    int m_n = 0;
    int m_channelStride = 0;
    std::uint8_t *m_levels = nullptr;
    std::vector<std::uint8_t> &m_store = storage();

    static std::vector<std::uint8_t> &storage()
    {
        thread_local std::vector<std::uint8_t> store;
        return store;
    }
};

HWY_INLINE VF byteAsFloat(hn::Vec<DB> bytes)
{
    return hn::ConvertTo(DF(), hn::BitCast(DI(), bytes));
}

// One 16-byte window of a source row for every four output columns, one window to each
// 128-bit block of the vector, so that a byte shuffle picks the pixel pairs of all lanes.
template <class D>
HWY_INLINE hn::Vec<D> loadWindows(D d, const std::uint8_t *row, const std::int32_t *starts)
{
    if constexpr (hn::MaxLanes(D()) <= 16) {
        return hn::LoadU(d, row + starts[0]);
    } else {
        const hn::Half<D> dh;
        constexpr std::size_t blocks = hn::MaxLanes(hn::Half<D>()) / 16;
        return hn::Combine(d, loadWindows(dh, row, starts + blocks), loadWindows(dh, row, starts));
    }
}

template <int NC> void scaleT(const ScaleJob &job)
{
    const DF df;
    const DI di;
    const DU du;
    const DB db;
    constexpr int N = MaxLanes;
    static_assert(N % 4 == 0);
    const int n = job.endColumn - job.firstColumn;
    const int rows = job.endRow - job.firstRow;
    if (n <= 0 || rows <= 0 || int(hn::Lanes(df)) != N)
        return portable::scale(job);
    const int nv = (n + N - 1) / N * N;
    const Planes<NC> planes(job.source);

    // The horizontal mix picks pixels sx and sx + 1 for every output column. Four neighbouring
    // columns lie within 16 bytes unless the picture shrinks below about a fifth; then the
    // pairs are gathered one by one.
    thread_local std::vector<std::int32_t> windowStartStore;
    thread_local std::vector<std::uint8_t> pickStore;
    const int blocks = nv / 4;
    windowStartStore.resize(std::size_t(blocks));
    pickStore.assign(std::size_t(blocks) * 32, 0x80);
    std::int32_t *windowStart = windowStartStore.data();
    std::uint8_t *firstPick = pickStore.data();
    std::uint8_t *secondPick = firstPick + blocks * 16;
    bool windowsFit = true;
    for (int b = 0; b < blocks; ++b) {
        const int start = job.columnSource[std::min(4 * b, n - 1)];
        windowStart[b] = start;
        for (int j = 0; j < 4 && 4 * b + j < n; ++j) {
            const int at = job.columnSource[4 * b + j] - start;
            windowsFit = windowsFit && at + 1 < 16;
            firstPick[16 * b + 4 * j] = std::uint8_t(at);
            secondPick[16 * b + 4 * j] = std::uint8_t(at + 1);
        }
    }

    thread_local std::vector<float> mixedStore;
    mixedStore.resize(std::size_t(2 * NC) * std::size_t(nv));
    float *const mixedBase = mixedStore.data();
    int held[2] = {-1, -1};
    auto mixed = [&](int slot, int c) { return mixedBase + std::size_t(slot * NC + c) * nv; };
    auto mixRow = [&](int slot, int r) {
        for (int c = 0; c < NC; ++c) {
            float *h = mixed(slot, c);
            const std::uint8_t *row = planes.plane[c] + r * planes.stride;
            for (int x = 0; x < nv; x += N) {
                VF p0, p1;
                if (windowsFit) {
                    const auto window = loadWindows(db, row, windowStart + x / 4);
                    p0 = byteAsFloat(
                        hn::TableLookupBytesOr0(window, hn::LoadU(db, firstPick + 4 * x)));
                    p1 = byteAsFloat(
                        hn::TableLookupBytesOr0(window, hn::LoadU(db, secondPick + 4 * x)));
                } else {
                    const auto pair = hn::BitCast(
                        du, hn::GatherOffset(di, reinterpret_cast<const std::int32_t *>(row),
                                             hn::LoadU(di, job.columnSource + x)));
                    const auto low = hn::Set(du, 0xFF);
                    p0 = hn::ConvertTo(df, hn::BitCast(di, hn::And(pair, low)));
                    p1 = hn::ConvertTo(df, hn::BitCast(di, hn::And(hn::ShiftRight<8>(pair), low)));
                }
                hn::StoreU(mix(hn::LoadU(df, job.columnRest + x), p0,
                               hn::LoadU(df, job.columnFraction + x), p1),
                           df, h + x);
            }
        }
        held[slot] = r;
    };
    auto slotOf = [&](int r) { return held[0] == r ? 0 : held[1] == r ? 1 : -1; };

    RowWriter<NC> writer(job.target);
    for (int k = 0; k < rows; ++k) {
        const int sy = job.rowSource[k];
        int top = slotOf(sy);
        int bottom = slotOf(sy + 1);
        if (top < 0) {
            top = bottom == 0 ? 1 : 0;
            mixRow(top, sy);
        }
        if (bottom < 0) {
            bottom = 1 - top;
            mixRow(bottom, sy + 1);
        }
        writer.start(job.target.data + (job.firstRow + k) * job.target.stride +
                         job.firstColumn * job.target.pixelBytes,
                     n);
        const VF gy = hn::Set(df, job.rowRest[k]);
        const VF fy = hn::Set(df, job.rowFraction[k]);
        for (int c = 0; c < NC; ++c) {
            const float *t = mixed(top, c);
            const float *b = mixed(bottom, c);
            for (int x = 0; x < n; x += N)
                writer.put(x, c,
                           levelBits(mix(gy, hn::LoadU(df, t + x), fy, hn::LoadU(df, b + x))));
        }
        writer.emit();
    }
}

// The four pixels around every position of a plane in one 32-bit word, (x, y), (x + 1, y),
// (x, y + 1), (x + 1, y + 1) from the lowest byte up: a turned pixel then takes one gather.
// Rows 0 to height - 2, width words each; the last word of a row pairs with the next row and
// is never used.
void buildQuads(const std::uint8_t *plane, std::ptrdiff_t stride, int width, int height,
                std::uint32_t *quad)
{
    const D16 d8;
    const hn::Full128<std::uint16_t> d16;
    const hn::Full128<std::uint32_t> d32;
    for (int y = 0; y + 1 < height; ++y) {
        const std::uint8_t *a = plane + y * stride;
        const std::uint8_t *c = a + stride;
        std::uint32_t *q = quad + std::ptrdiff_t(y) * width;
        // Whole vectors, past the row's end into the next row or the padding: those words are
        // overwritten by the next row or never read.
        for (int x = 0; x < width; x += 16) {
            const auto top0 = hn::LoadU(d8, a + x);
            const auto top1 = hn::LoadU(d8, a + x + 1);
            const auto bottom0 = hn::LoadU(d8, c + x);
            const auto bottom1 = hn::LoadU(d8, c + x + 1);
            const auto topLow = hn::ZipLower(d16, top0, top1);
            const auto topHigh = hn::ZipUpper(d16, top0, top1);
            const auto bottomLow = hn::ZipLower(d16, bottom0, bottom1);
            const auto bottomHigh = hn::ZipUpper(d16, bottom0, bottom1);
            hn::StoreU(hn::ZipLower(d32, topLow, bottomLow), d32, q + x);
            hn::StoreU(hn::ZipUpper(d32, topLow, bottomLow), d32, q + x + 4);
            hn::StoreU(hn::ZipLower(d32, topHigh, bottomHigh), d32, q + x + 8);
            hn::StoreU(hn::ZipUpper(d32, topHigh, bottomHigh), d32, q + x + 12);
        }
    }
}

template <int NC> void rotateT(const RotateJob &job)
{
    const DF df;
    const DI di;
    const DU du;
    constexpr int N = MaxLanes;
    const PixelSource &src = job.source;
    // Nothing reaches a source this thin.
    if (src.width < 2 || src.height < 2)
        return;
    if (int(hn::Lanes(df)) != N)
        return portable::rotate(job);
    const Planes<NC> planes(src);
    thread_local std::vector<std::uint32_t> quadStore;
    const std::size_t quadSize = std::size_t(src.width) * std::size_t(src.height - 1) + 16;
    quadStore.resize(NC * quadSize);
    const std::int32_t *quads[3] = {};
    for (int c = 0; c < NC; ++c) {
        buildQuads(planes.plane[c], planes.stride, src.width, src.height,
                   quadStore.data() + c * quadSize);
        quads[c] = reinterpret_cast<const std::int32_t *>(quadStore.data() + c * quadSize);
    }

    const VF one = hn::Set(df, 1.0f);
    const VF zero = hn::Zero(df);
    const VI halfW = hn::Set(di, src.width / 2);
    const VI halfH = hn::Set(di, src.height / 2);
    const VI minusOne = hn::Set(di, -1);
    const VI lastX = hn::Set(di, src.width - 1);
    const VI lastY = hn::Set(di, src.height - 1);
    const VI width = hn::Set(di, src.width);
    const VU white = hn::Set(du, 255);
    const VU byteMask = hn::Set(du, 0xFF);
    RowWriter<NC> writer(job.target);

    for (int dy = 0; dy < job.rows; ++dy) {
        const int begin = job.rowBegin[dy];
        const int len = job.rowEnd[dy] - begin;
        if (len <= 0)
            continue;
        writer.start(job.target.data + dy * job.target.stride + begin * job.target.pixelBytes, len);
        const VF rx = hn::Set(df, job.rowX[dy]);
        const VF ry = hn::Set(df, job.rowY[dy]);
        const float *colX = job.columnX + begin;
        const float *colY = job.columnY + begin;
        for (int x = 0; x < len; x += N) {
            const VF xs = hn::Sub(hn::LoadU(df, colX + x), rx);
            const VF ys = hn::Add(hn::LoadU(df, colY + x), ry);
            const VF xt = hn::Trunc(hn::IfThenElse(hn::Gt(xs, zero), xs, hn::Sub(xs, one)));
            const VF yt = hn::Trunc(hn::IfThenElse(hn::Gt(ys, zero), ys, hn::Sub(ys, one)));
            const VF fx = hn::Sub(xs, xt);
            const VF fy = hn::Sub(ys, yt);
            const VF gx = hn::Sub(one, fx);
            const VF gy = hn::Sub(one, fy);
            const VI sx = hn::Add(halfW, wholeNumber(xt));
            const VI sy = hn::Add(halfH, wholeNumber(yt));
            const auto inside = hn::And(hn::And(hn::Gt(sx, minusOne), hn::Lt(sx, lastX)),
                                        hn::And(hn::Gt(sy, minusOne), hn::Lt(sy, lastY)));
            // Lanes outside fetch the first word, in bounds, and are then painted white.
            const VI index = hn::IfThenElseZero(inside, hn::Add(hn::Mul(sy, width), sx));
            const auto insideU = hn::RebindMask(du, inside);
            for (int c = 0; c < NC; ++c) {
                const VU word = hn::BitCast(du, hn::GatherIndex(di, quads[c], index));
                const VF p00 = hn::ConvertTo(df, hn::BitCast(di, hn::And(word, byteMask)));
                const VF p10 =
                    hn::ConvertTo(df, hn::BitCast(di, hn::And(hn::ShiftRight<8>(word), byteMask)));
                const VF p01 =
                    hn::ConvertTo(df, hn::BitCast(di, hn::And(hn::ShiftRight<16>(word), byteMask)));
                const VF p11 = hn::ConvertTo(df, hn::BitCast(di, hn::ShiftRight<24>(word)));
                const VF v = mix(gy, mix(gx, p00, fx, p10), fy, mix(gx, p01, fx, p11));
                writer.put(x, c, hn::IfThenElse(insideU, levelBits(v), white));
            }
        }
        writer.emit();
    }
}

void ScaleImpl(const ScaleJob &job)
{
    if (job.channels == 1)
        scaleT<1>(job);
    else
        scaleT<3>(job);
}

void RotateImpl(const RotateJob &job)
{
    if (job.channels == 1)
        rotateT<1>(job);
    else
        rotateT<3>(job);
}

#endif // HWY_TARGET == HWY_SCALAR

} // namespace HWY_NAMESPACE
} // namespace queldo::fast
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace queldo::fast {

HWY_EXPORT(GreyPlaneImpl);
HWY_EXPORT(ScaleImpl);
HWY_EXPORT(RotateImpl);

bool greyPlane(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *plane, bool portableOnly)
{
    return portableOnly ? portable::greyPlane(bgr, pixels, plane)
                        : HWY_DYNAMIC_DISPATCH(GreyPlaneImpl)(bgr, pixels, plane);
}

void scale(const ScaleJob &job, bool portableOnly)
{
    if (portableOnly)
        portable::scale(job);
    else
        HWY_DYNAMIC_DISPATCH(ScaleImpl)(job);
}

void rotate(const RotateJob &job, bool portableOnly)
{
    // The vector code holds positions as floats it turns into integers through the mantissa
    // (below 2^22) and quad indexes in 32-bit lanes; pictures too large for that, never a
    // chromosome, take the portable code.
    const PixelSource &src = job.source;
    const bool fits =
        src.width + src.height < (1 << 20) && std::int64_t(src.width) * src.height < (1 << 28);
    if (portableOnly || !fits)
        portable::rotate(job);
    else
        HWY_DYNAMIC_DISPATCH(RotateImpl)(job);
}

const char *vectorTargetName()
{
    const std::int64_t usable = hwy::SupportedTargets() & HWY_TARGETS;
    return hwy::TargetName(usable & -usable); // the lowest bit is the best target
}

} // namespace queldo::fast
#endif // HWY_ONCE
