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
bool SplitPlanesImpl(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *planes,
                     std::ptrdiff_t planeStep)
{
    return portable::splitPlanes(bgr, pixels, planes, planeStep);
}
bool CubeIndexesImpl(const std::uint8_t *b, const std::uint8_t *g, const std::uint8_t *r, int n,
                     std::uint8_t *index)
{
    return portable::cubeIndexes(b, g, r, n, index);
}
bool ScaleImpl(const ScaleJob &job)
{
    return portable::scale(job);
}
bool RotateImpl(const RotateJob &job)
{
    return portable::rotate(job);
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

bool SplitPlanesImpl(const std::uint8_t *HWY_RESTRICT bgr, std::size_t pixels,
                     std::uint8_t *HWY_RESTRICT planes, std::ptrdiff_t planeStep)
{
    const DW d;
    const std::size_t N = hn::Lanes(d);
    if (pixels < N)
        return portable::splitPlanes(bgr, pixels, planes, planeStep);
    std::uint8_t *HWY_RESTRICT blue = planes;
    std::uint8_t *HWY_RESTRICT green = planes + planeStep;
    std::uint8_t *HWY_RESTRICT red = planes + 2 * planeStep;
    auto differ = hn::Zero(d);
    for (std::size_t x = 0;; x += N) {
        x = std::min(x, pixels - N);
        hn::Vec<DW> b, g, r;
        hn::LoadInterleaved3(d, bgr + 3 * x, b, g, r);
        differ = hn::Or(differ, hn::Or(hn::Xor(b, g), hn::Xor(b, r)));
        hn::StoreU(b, d, blue + x);
        hn::StoreU(g, d, green + x);
        hn::StoreU(r, d, red + x);
        if (x + N == pixels)
            break;
    }
    return hn::AllTrue(d, hn::Eq(differ, hn::Zero(d)));
}

// The cube index in 16-bit lanes. The divisions by 51 and 255 are multiplications that keep the
// high half: floor(x / 51) = (x * 1286) >> 16 for x <= 280, and floor((6g + 127) / 255) =
// ((6g + 128) * 257) >> 16 for every level g from 0 to 255.
// Padded: the rows may be read up to a whole vector past n, so a short row takes one vector
// whose lanes past n are left out of the grey test and not stored.
template <bool Padded>
bool cubeIndexesT(const std::uint8_t *HWY_RESTRICT b, const std::uint8_t *HWY_RESTRICT g,
                  const std::uint8_t *HWY_RESTRICT r, int n, std::uint8_t *HWY_RESTRICT index)
{
    using DH = hn::ScalableTag<std::uint16_t>;
    using DS = hn::RebindToSigned<DH>;
    const DH dh;
    const hn::Rebind<std::uint8_t, DH> d8;
    constexpr int MaxN = int(hn::MaxLanes(DH()));
    const int N = int(hn::Lanes(dh));
    if (n <= 0)
        return false;
    if (!Padded && n < N)
        return portable::cubeIndexes(b, g, r, n, index);
    const auto k25 = hn::Set(dh, 25);
    const auto k1286 = hn::Set(dh, 1286);
    const auto k6 = hn::Set(dh, 6);
    const auto k128 = hn::Set(dh, 128);
    const auto k257 = hn::Set(dh, 257);
    const auto k42 = hn::Set(dh, 42);
    const auto white = hn::Set(dh, 255);
    const auto whiteIndex = hn::Set(dh, CubeWhiteIndex);
    auto differ = hn::Zero(dh);
    for (int x = 0;; x += N) {
        if (!Padded)
            x = std::min(x, n - N); // the last vector overlaps the one before
        const auto vb = hn::PromoteTo(dh, hn::LoadU(d8, b + x));
        const auto vg = hn::PromoteTo(dh, hn::LoadU(d8, g + x));
        const auto vr = hn::PromoteTo(dh, hn::LoadU(d8, r + x));
        const auto redTerm = hn::Mul(hn::MulHigh(hn::Add(vr, k25), k1286), k42);
        const auto greenTerm = hn::Mul(hn::MulHigh(hn::Add(hn::Mul(vg, k6), k128), k257), k6);
        const auto blueTerm = hn::MulHigh(hn::Add(vb, k25), k1286);
        const auto cube = hn::Add(hn::Add(redTerm, greenTerm), blueTerm);
        const auto isWhite = hn::Eq(hn::And(hn::And(vb, vg), vr), white);
        const auto entry =
            hn::DemoteTo(d8, hn::BitCast(DS(), hn::IfThenElse(isWhite, whiteIndex, cube)));
        const auto notGrey = hn::Or(hn::Xor(vb, vg), hn::Xor(vb, vr));
        if (x + N <= n) {
            hn::StoreU(entry, d8, index + x);
            differ = hn::Or(differ, notGrey);
        } else {
            differ =
                hn::Or(differ, hn::IfThenElseZero(hn::FirstN(dh, std::size_t(n - x)), notGrey));
            alignas(64) std::uint8_t last[MaxN];
            hn::StoreU(entry, d8, last);
            std::memcpy(index + x, last, std::size_t(n - x));
        }
        if (x + N >= n)
            break;
    }
    return !hn::AllTrue(dh, hn::Eq(differ, hn::Zero(dh)));
}

bool CubeIndexesImpl(const std::uint8_t *b, const std::uint8_t *g, const std::uint8_t *r, int n,
                     std::uint8_t *index)
{
    return cubeIndexesT<false>(b, g, r, n, index);
}

// Where a row's computed levels go: straight into the target's planes or its blue, green, red,
// or, for cube indexes, through a buffer of one row per channel that emit() then reduces.
template <int NC> class RowWriter
{
public:
    explicit RowWriter(const PixelTarget &target) : m_target(target)
    {
        static_assert(NC == 1 || NC == 3);
    }

    void start(int row, int column, int n)
    {
        m_dst = m_target.data + row * m_target.stride +
                column * (m_target.form == TargetForm::Bgr ? 3 : 1);
        m_n = n;
        if (m_target.form == TargetForm::CubeIndex) {
            m_channelStride = (n + MaxLanes - 1) / MaxLanes * MaxLanes;
            m_store.resize(std::size_t(NC * m_channelStride) +
                           PlanePadding); // read by whole vectors
            m_levels = m_store.data();
        }
    }

    // The levels of every channel for the lanes from column x on; lanes past the row's end are
    // dropped. Blue, green, red are packed here, in registers: 4 pixels in the low 12 bytes of
    // each 128-bit block.
    HWY_INLINE void putAll(int x, const VU *level)
    {
        if (m_target.form != TargetForm::Bgr) {
            for (int c = 0; c < NC; ++c)
                put(x, c, level[c]);
            return;
        }
        const DB db;
        const auto bytes = [&](int c) { return hn::BitCast(db, level[c]); };
        hn::Vec<DB> packed;
        if constexpr (NC == 1) {
            packed = hn::TableLookupBytes(bytes(0), hn::LoadDup128(db, GreyToBgr));
        } else {
            packed =
                hn::Or(hn::Or(hn::TableLookupBytesOr0(bytes(0), hn::LoadDup128(db, BlueToBgr)),
                              hn::TableLookupBytesOr0(bytes(1), hn::LoadDup128(db, GreenToBgr))),
                       hn::TableLookupBytesOr0(bytes(2), hn::LoadDup128(db, RedToBgr)));
        }
        alignas(64) std::uint8_t block[4 * MaxLanes];
        hn::Store(packed, db, block);
        std::uint8_t *dst = m_dst + 3 * x;
        const int pixels = std::min(MaxLanes, m_n - x);
        if (x + MaxLanes + 2 <= m_n) {
            // 16 bytes a block, each overlapping the next block's start, which that block then
            // writes; the last one spills 4 bytes into the next vector's first two pixels,
            // written after it.
            for (int k = 0; k < MaxLanes / 4; ++k)
                std::memcpy(dst + 12 * k, block + 16 * k, 16);
        } else {
            for (int k = 0; 4 * k < pixels; ++k)
                std::memcpy(dst + 12 * k, block + 16 * k,
                            std::size_t(3 * std::min(4, pixels - 4 * k)));
        }
    }

    // The levels of the lanes from column x on; lanes past the row's end are dropped.
    HWY_INLINE void put(int x, int c, VU bits)
    {
        const auto bytes = hn::U8FromU32(bits);
        if (m_target.form == TargetForm::CubeIndex) {
            hn::StoreU(bytes, DU8(), m_levels + c * m_channelStride + x);
            return;
        }
        std::uint8_t *dst = m_dst + c * m_target.planeStep;
        if (x + MaxLanes <= m_n) {
            hn::StoreU(bytes, DU8(), dst + x);
        } else {
            alignas(64) std::uint8_t last[MaxLanes];
            hn::StoreU(bytes, DU8(), last);
            for (int k = 0; x + k < m_n; ++k)
                dst[x + k] = last[k];
        }
    }

    void emit()
    {
        if (m_target.form != TargetForm::CubeIndex)
            return;
        const std::uint8_t *b = m_levels;
        const std::uint8_t *g = NC == 3 ? m_levels + m_channelStride : m_levels;
        const std::uint8_t *r = NC == 3 ? m_levels + 2 * m_channelStride : m_levels;
        m_colour = cubeIndexesT<true>(b, g, r, m_n, m_dst) || m_colour;
    }

    bool colourWritten() const { return m_colour; }

private:
    // Byte shuffles from the low byte of each 32-bit lane to blue, green, red of 4 pixels.
    static constexpr std::uint8_t X = 0x80;
    alignas(16) static constexpr std::uint8_t GreyToBgr[16] = {0, 0,  0,  4,  4, 4, 8, 8,
                                                               8, 12, 12, 12, X, X, X, X};
    alignas(16) static constexpr std::uint8_t BlueToBgr[16] = {0, X,  X, 4, X, X, 8, X,
                                                               X, 12, X, X, X, X, X, X};
    alignas(16) static constexpr std::uint8_t GreenToBgr[16] = {X, 0, X,  X, 4, X, X, 8,
                                                                X, X, 12, X, X, X, X, X};
    alignas(16) static constexpr std::uint8_t RedToBgr[16] = {X, X, 0, X,  X, 4, X, X,
                                                              8, X, X, 12, X, X, X, X};

    const PixelTarget &m_target;
    std::uint8_t *m_dst = nullptr;
    int m_n = 0;
    int m_channelStride = 0;
    std::uint8_t *m_levels = nullptr;
    bool m_colour = false;
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

template <int NC> bool scaleT(const ScaleJob &job)
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
    const PixelSource &src = job.source;

    // The horizontal mix picks pixels sx and sx + 1 for every output column. Four neighbouring
    // columns lie within 16 bytes unless the picture shrinks below about a fifth; then the
    // pairs are gathered one by one.
    thread_local std::vector<std::int32_t> windowStartStore;
    thread_local std::vector<std::uint8_t> pickStore;
    const int blocks = nv / 4;
    windowStartStore.resize(std::size_t(blocks));
    pickStore.assign(std::size_t(blocks) * 48, 0x80);
    std::int32_t *windowStart = windowStartStore.data();
    std::uint8_t *firstPick = pickStore.data();
    std::uint8_t *secondPick = firstPick + blocks * 16;
    // Where every column falls on a source pixel (fx = 0 gives exactly sx, fx = 1 exactly
    // sx + 1), the pixel that column shows.
    std::uint8_t *wholePick = secondPick + blocks * 16;
    bool windowsFit = true;
    bool columnsWhole = true;
    for (int b = 0; b < blocks; ++b) {
        const int start = job.columnSource[std::min(4 * b, n - 1)];
        windowStart[b] = start;
        for (int j = 0; j < 4 && 4 * b + j < n; ++j) {
            const int at = job.columnSource[4 * b + j] - start;
            const float f = job.columnFraction[4 * b + j];
            windowsFit = windowsFit && at + 1 < 16;
            columnsWhole = columnsWhole && (f == 0.0f || f == 1.0f);
            firstPick[16 * b + 4 * j] = std::uint8_t(at);
            secondPick[16 * b + 4 * j] = std::uint8_t(at + 1);
            wholePick[16 * b + 4 * j] = std::uint8_t(f == 0.0f ? at : at + 1);
        }
    }

    thread_local std::vector<float> mixedStore;
    mixedStore.resize(std::size_t(2 * NC) * std::size_t(nv));
    float *const mixedBase = mixedStore.data();
    int held[2] = {-1, -1};
    auto mixed = [&](int slot, int c) { return mixedBase + std::size_t(slot * NC + c) * nv; };
    const std::int32_t *columnSource = job.columnSource;
    const float *columnRest = job.columnRest;
    const float *columnFraction = job.columnFraction;
    auto mixRow = [&](int slot, int r) {
        for (int c = 0; c < NC; ++c) {
            float *h = mixed(slot, c);
            const std::uint8_t *row = src.plane(c) + r * src.stride;
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
                                             hn::LoadU(di, columnSource + x)));
                    const auto low = hn::Set(du, 0xFF);
                    p0 = hn::ConvertTo(df, hn::BitCast(di, hn::And(pair, low)));
                    p1 = hn::ConvertTo(df, hn::BitCast(di, hn::And(hn::ShiftRight<8>(pair), low)));
                }
                hn::StoreU(
                    mix(hn::LoadU(df, columnRest + x), p0, hn::LoadU(df, columnFraction + x), p1),
                    df, h + x);
            }
        }
        held[slot] = r;
    };
    auto slotOf = [&](int r) { return held[0] == r ? 0 : held[1] == r ? 1 : -1; };

    RowWriter<NC> writer(job.target);
    for (int k = 0; k < rows; ++k) {
        const int sy = job.rowSource[k];
        // A row that falls on a source row takes it whole: with fy = 0 the mix is
        // 1 * top + 0 * bottom, exactly top, and with fy = 1 exactly bottom (the mixed values
        // are finite and not negative). Then only that row need be mixed: at x0.5 or x1.0 every
        // output row is such a row.
        const float fraction = job.rowFraction[k];
        const bool topOnly = fraction == 0.0f;
        const bool bottomOnly = job.rowRest[k] == 0.0f;
        if ((topOnly || bottomOnly) && columnsWhole && windowsFit) {
            // Every pixel falls on a source pixel: a copy, by byte picks.
            writer.start(job.firstRow + k, job.firstColumn, n);
            const int r = topOnly ? sy : sy + 1;
            for (int x = 0; x < n; x += N) {
                VU level[NC];
                for (int c = 0; c < NC; ++c) {
                    const auto window =
                        loadWindows(db, src.plane(c) + r * src.stride, windowStart + x / 4);
                    level[c] = hn::BitCast(
                        du, hn::TableLookupBytesOr0(window, hn::LoadU(db, wholePick + 4 * x)));
                }
                writer.putAll(x, level);
            }
            writer.emit();
            continue;
        }
        int top = slotOf(sy);
        int bottom = slotOf(sy + 1);
        if (top < 0 && !bottomOnly) {
            top = bottom == 0 ? 1 : 0;
            mixRow(top, sy);
        }
        if (bottom < 0 && !topOnly) {
            bottom = top == 0 ? 1 : 0;
            mixRow(bottom, sy + 1);
        }
        writer.start(job.firstRow + k, job.firstColumn, n);
        if (topOnly || bottomOnly) {
            const int slot = topOnly ? top : bottom;
            for (int x = 0; x < n; x += N) {
                VU level[NC];
                for (int c = 0; c < NC; ++c)
                    level[c] = levelBits(hn::LoadU(df, mixed(slot, c) + x));
                writer.putAll(x, level);
            }
            writer.emit();
            continue;
        }
        const VF gy = hn::Set(df, job.rowRest[k]);
        const VF fy = hn::Set(df, fraction);
        const float *t[NC];
        const float *b[NC];
        for (int c = 0; c < NC; ++c) {
            t[c] = mixed(top, c);
            b[c] = mixed(bottom, c);
        }
        for (int x = 0; x < n; x += N) {
            VU level[NC];
            for (int c = 0; c < NC; ++c)
                level[c] = levelBits(mix(gy, hn::LoadU(df, t[c] + x), fy, hn::LoadU(df, b[c] + x)));
            writer.putAll(x, level);
        }
        writer.emit();
    }
    return writer.colourWritten();
}

// Every pixel of a plane next to the one below it, as 16-bit pairs: (x, y) in the low byte,
// (x, y + 1) in the high one, rows 0 to height - 2. A 32-bit load at a pair then holds the four
// pixels around a position, (x, y), (x, y + 1), (x + 1, y), (x + 1, y + 1) from the lowest byte
// up, so a turned pixel takes one gather a channel. Half the size of the four pixels written out,
// and made with one zip.
void buildPairs(const std::uint8_t *plane, std::ptrdiff_t stride, int width, int height,
                std::uint16_t *pairs)
{
    const D16 d8;
    const hn::Full128<std::uint16_t> d16;
    for (int y = 0; y + 1 < height; ++y) {
        const std::uint8_t *a = plane + y * stride;
        const std::uint8_t *b = a + stride;
        std::uint16_t *out = pairs + std::ptrdiff_t(y) * width;
        // Whole vectors, past the row's end into the next row or the padding: those pairs are
        // overwritten by the next row or never read.
        for (int x = 0; x < width; x += 16) {
            const auto top = hn::LoadU(d8, a + x);
            const auto bottom = hn::LoadU(d8, b + x);
            hn::StoreU(hn::ZipLower(d16, top, bottom), d16, out + x);
            hn::StoreU(hn::ZipUpper(d16, top, bottom), d16, out + x + 8);
        }
    }
}

template <int NC> bool rotateT(const RotateJob &job)
{
    const DF df;
    const DI di;
    const DU du;
    constexpr int N = MaxLanes;
    const PixelSource &src = job.source;
    // Nothing reaches a source this thin.
    if (src.width < 2 || src.height < 2)
        return false;
    if (int(hn::Lanes(df)) != N)
        return portable::rotate(job);
    thread_local std::vector<std::uint16_t> pairStore;
    const std::size_t pairPlane = std::size_t(src.width) * std::size_t(src.height - 1) + 32;
    pairStore.resize(pairPlane * NC);
    const std::int32_t *pairs[NC];
    for (int c = 0; c < NC; ++c) {
        std::uint16_t *plane = pairStore.data() + c * pairPlane;
        buildPairs(src.plane(c), src.stride, src.width, src.height, plane);
        pairs[c] = reinterpret_cast<const std::int32_t *>(plane);
    }
    const DB db;
    alignas(16) static constexpr std::uint8_t X = 0x80;
    alignas(16) static constexpr std::uint8_t secondByte[16] = {1, X, X, X, 5,  X, X, X,
                                                                9, X, X, X, 13, X, X, X};
    alignas(16) static constexpr std::uint8_t thirdByte[16] = {2,  X, X, X, 6,  X, X, X,
                                                               10, X, X, X, 14, X, X, X};
    const auto pickSecond = hn::LoadDup128(db, secondByte);
    const auto pickThird = hn::LoadDup128(db, thirdByte);

    const VF one = hn::Set(df, 1.0f);
    const VF zero = hn::Zero(df);
    const VI halfW = hn::Set(di, src.width / 2);
    const VI halfH = hn::Set(di, src.height / 2);
    const VI minusOne = hn::Set(di, -1);
    const VI lastX = hn::Set(di, src.width - 1);
    const VI lastY = hn::Set(di, src.height - 1);
    const VI width = hn::Set(di, src.width);
    const VU white = hn::Set(du, 255);
    const VI byteMask = hn::Set(di, 0xFF);
    RowWriter<NC> writer(job.target);

    for (int dy = 0; dy < job.rows; ++dy) {
        const int begin = job.rowBegin[dy];
        const int len = job.rowEnd[dy] - begin;
        if (len <= 0)
            continue;
        writer.start(dy, begin, len);
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
            // Lanes outside fetch the first pair, in bounds, and are then painted white.
            const VI pair = hn::IfThenElseZero(inside, hn::Add(hn::Mul(sy, width), sx));
            const VI offset = hn::Add(pair, pair);
            const auto insideU = hn::RebindMask(du, inside);
            VU level[NC];
            for (int c = 0; c < NC; ++c) {
                const VI word = hn::GatherOffset(di, pairs[c], offset);
                const auto bytes = hn::BitCast(db, word);
                const VF p00 = hn::ConvertTo(df, hn::And(word, byteMask));
                const VF p01 =
                    hn::ConvertTo(df, hn::BitCast(di, hn::TableLookupBytesOr0(bytes, pickSecond)));
                const VF p10 =
                    hn::ConvertTo(df, hn::BitCast(di, hn::TableLookupBytesOr0(bytes, pickThird)));
                const VF p11 =
                    hn::ConvertTo(df, hn::BitCast(di, hn::ShiftRight<24>(hn::BitCast(du, word))));
                const VF v = mix(gy, mix(gx, p00, fx, p10), fy, mix(gx, p01, fx, p11));
                level[c] = hn::IfThenElse(insideU, levelBits(v), white);
            }
            writer.putAll(x, level);
        }
        writer.emit();
    }
    return writer.colourWritten();
}

bool ScaleImpl(const ScaleJob &job)
{
    return job.source.channels == 1 ? scaleT<1>(job) : scaleT<3>(job);
}

bool RotateImpl(const RotateJob &job)
{
    return job.source.channels == 1 ? rotateT<1>(job) : rotateT<3>(job);
}

#endif // HWY_TARGET == HWY_SCALAR

} // namespace HWY_NAMESPACE
} // namespace queldo::fast
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace queldo::fast {

HWY_EXPORT(GreyPlaneImpl);
HWY_EXPORT(SplitPlanesImpl);
HWY_EXPORT(CubeIndexesImpl);
HWY_EXPORT(ScaleImpl);
HWY_EXPORT(RotateImpl);

bool greyPlane(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *plane, bool portableOnly)
{
    return portableOnly ? portable::greyPlane(bgr, pixels, plane)
                        : HWY_DYNAMIC_DISPATCH(GreyPlaneImpl)(bgr, pixels, plane);
}

bool splitPlanes(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *planes,
                 std::ptrdiff_t planeStep, bool portableOnly)
{
    return portableOnly ? portable::splitPlanes(bgr, pixels, planes, planeStep)
                        : HWY_DYNAMIC_DISPATCH(SplitPlanesImpl)(bgr, pixels, planes, planeStep);
}

bool cubeIndexes(const std::uint8_t *b, const std::uint8_t *g, const std::uint8_t *r, int n,
                 std::uint8_t *index, bool portableOnly)
{
    return portableOnly ? portable::cubeIndexes(b, g, r, n, index)
                        : HWY_DYNAMIC_DISPATCH(CubeIndexesImpl)(b, g, r, n, index);
}

bool scale(const ScaleJob &job, bool portableOnly)
{
    return portableOnly ? portable::scale(job) : HWY_DYNAMIC_DISPATCH(ScaleImpl)(job);
}

bool rotate(const RotateJob &job, bool portableOnly)
{
    // The vector code holds positions as floats it turns into integers through the mantissa
    // (below 2^22) and quad indexes in 32-bit lanes; pictures too large for that, never a
    // chromosome, take the portable code.
    const PixelSource &src = job.source;
    const bool fits =
        src.width + src.height < (1 << 20) && std::int64_t(src.width) * src.height * 3 < (1 << 28);
    if (portableOnly || !fits)
        return portable::rotate(job);
    return HWY_DYNAMIC_DISPATCH(RotateImpl)(job);
}

const char *vectorTargetName()
{
    const std::int64_t usable = hwy::SupportedTargets() & HWY_TARGETS;
    return hwy::TargetName(usable & -usable); // the lowest bit is the best target
}

} // namespace queldo::fast
#endif // HWY_ONCE
