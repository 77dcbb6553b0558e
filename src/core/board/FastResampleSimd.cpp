// The kernels in vector code, compiled once for every instruction set Highway knows on this
// architecture and chosen at the first call for the processor at hand.
//
// Exactness: every lane goes through the same IEEE single-precision multiplies and adds as the
// scalar rule, one at a time (Mul then Add, never MulAdd; the library is built with
// -ffp-contract=off so the compiler does not fuse them either), and float-to-int conversion
// truncates as the scalar casts do (see wholeNumber).

#include "core/board/FastResample.h"

#include <algorithm>
#include <array>
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
constexpr int MaxLanes = int(hn::MaxLanes(DF()));

template <class D> using IntTag = hn::RebindToSigned<D>;
template <class D> using ByteTag = hn::Repartition<std::uint8_t, D>; // the bytes of one vector
template <class D> using LevelByteTag = hn::Rebind<std::uint8_t, D>; // one byte for each lane

// Runs body(d, x) over n lanes from x = 0: whole vectors, and for the last few lanes a vector
// half as wide where they fit in one. Rows of chromosome pieces are a few dozen pixels, so a
// whole vector for their last lanes would often be mostly waste.
template <class Body> HWY_INLINE void forChunks(int n, const Body &body)
{
    int x = 0;
    if constexpr (MaxLanes >= 8) {
        for (; n - x > MaxLanes / 2; x += MaxLanes)
            body(DF(), x);
        if (x < n)
            body(hn::Half<DF>(), x);
    } else {
        for (; x < n; x += MaxLanes)
            body(DF(), x);
    }
}

// trunc(v) as an integer, for |v| < 2^31: one conversion instruction. ConvertTo adds a fix for
// overflow that these values cannot reach. (x86 vector targets only: the emulated 128-bit target
// holds its lanes in plain arrays.)
#if HWY_ARCH_X86 && HWY_TARGET <= HWY_SSSE3
template <std::size_t N> HWY_INLINE hn::Vec128<std::int32_t, N> truncToInt(hn::Vec128<float, N> v)
{
    return hn::Vec128<std::int32_t, N>{_mm_cvttps_epi32(v.raw)};
}
#if HWY_TARGET <= HWY_AVX2
HWY_INLINE hn::Vec256<std::int32_t> truncToInt(hn::Vec256<float> v)
{
    return hn::Vec256<std::int32_t>{_mm256_cvttps_epi32(v.raw)};
}
#endif
#if HWY_TARGET <= HWY_AVX3
HWY_INLINE hn::Vec512<std::int32_t> truncToInt(hn::Vec512<float> v)
{
    return hn::Vec512<std::int32_t>{_mm512_cvttps_epi32(v.raw)};
}
#endif
#else
template <class V> HWY_INLINE auto truncToInt(V v)
{
    return hn::ConvertTo(IntTag<hn::DFromV<V>>(), v);
}
#endif

// (1 - f) * a + f * b, two products and a sum, each rounded.
template <class V> HWY_INLINE V mix(V rest, V a, V fraction, V b)
{
    return hn::Add(hn::Mul(rest, a), hn::Mul(fraction, b));
}

template <class D> HWY_INLINE hn::Vec<D> byteAsFloat(D d, hn::Vec<ByteTag<D>> bytes)
{
    return hn::ConvertTo(d, hn::BitCast(IntTag<D>(), bytes));
}

// Copies one plane's bytes, or splits blue, green, red into three, with vectors of d, and
// tells whether the pixels are grey throughout. pixels must be at least a vector's lanes: a
// last vector overlapping the one before covers the end.
template <bool AllPlanes, class D>
bool splitT(D d, const std::uint8_t *HWY_RESTRICT bgr, std::size_t pixels,
            std::uint8_t *HWY_RESTRICT blue, std::uint8_t *HWY_RESTRICT green,
            std::uint8_t *HWY_RESTRICT red)
{
    const std::size_t N = hn::Lanes(d);
    auto differ = hn::Zero(d);
    for (std::size_t x = 0;; x += N) {
        x = std::min(x, pixels - N);
        hn::Vec<D> b, g, r;
        hn::LoadInterleaved3(d, bgr + 3 * x, b, g, r);
        differ = hn::Or3(differ, hn::Xor(b, g), hn::Xor(b, r));
        hn::StoreU(b, d, blue + x);
        if constexpr (AllPlanes) {
            hn::StoreU(g, d, green + x);
            hn::StoreU(r, d, red + x);
        }
        if (x + N == pixels)
            break;
    }
    return hn::AllTrue(d, hn::Eq(differ, hn::Zero(d)));
}

template <bool AllPlanes>
bool splitAny(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *blue, std::uint8_t *green,
              std::uint8_t *red)
{
    const hn::ScalableTag<std::uint8_t> d;
    const hn::CappedTag<std::uint8_t, 16> d16;
    if (pixels >= hn::Lanes(d))
        return splitT<AllPlanes>(d, bgr, pixels, blue, green, red);
    if (pixels >= hn::Lanes(d16))
        return splitT<AllPlanes>(d16, bgr, pixels, blue, green, red);
    if constexpr (AllPlanes)
        return portable::splitPlanes(bgr, pixels, blue, green - blue);
    else
        return portable::greyPlane(bgr, pixels, blue);
}

bool GreyPlaneImpl(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *plane)
{
    return splitAny<false>(bgr, pixels, plane, nullptr, nullptr);
}

bool SplitPlanesImpl(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *planes,
                     std::ptrdiff_t planeStep)
{
    return splitAny<true>(bgr, pixels, planes, planes + planeStep, planes + 2 * planeStep);
}

// The cube index in 16-bit lanes. The divisions by 51 and 255 are multiplications that keep the
// high half: floor(x / 51) = (x * 1286) >> 16 for x <= 280, and floor((6g + 127) / 255) =
// ((6g + 128) * 257) >> 16 for every level g from 0 to 255.
bool cubeIndexesT(const std::uint8_t *HWY_RESTRICT b, const std::uint8_t *HWY_RESTRICT g,
                  const std::uint8_t *HWY_RESTRICT r, int n, std::uint8_t *HWY_RESTRICT index)
{
    using DH = hn::ScalableTag<std::uint16_t>;
    using DS = hn::RebindToSigned<DH>;
    const DH dh;
    const hn::Rebind<std::uint8_t, DH> d8;
    const int N = int(hn::Lanes(dh));
    if (n < N)
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
        x = std::min(x, n - N); // the last vector overlaps the one before
        const auto vb = hn::PromoteTo(dh, hn::LoadU(d8, b + x));
        const auto vg = hn::PromoteTo(dh, hn::LoadU(d8, g + x));
        const auto vr = hn::PromoteTo(dh, hn::LoadU(d8, r + x));
        const auto redTerm = hn::Mul(hn::MulHigh(hn::Add(vr, k25), k1286), k42);
        const auto greenTerm = hn::Mul(hn::MulHigh(hn::Add(hn::Mul(vg, k6), k128), k257), k6);
        const auto blueTerm = hn::MulHigh(hn::Add(vb, k25), k1286);
        const auto cube = hn::Add(hn::Add(redTerm, greenTerm), blueTerm);
        const auto isWhite = hn::Eq(hn::And(hn::And(vb, vg), vr), white);
        hn::StoreU(hn::DemoteTo(d8, hn::BitCast(DS(), hn::IfThenElse(isWhite, whiteIndex, cube))),
                   d8, index + x);
        differ = hn::Or3(differ, hn::Xor(vb, vg), hn::Xor(vb, vr));
        if (x + N == n)
            break;
    }
    return !hn::AllTrue(dh, hn::Eq(differ, hn::Zero(dh)));
}

bool CubeIndexesImpl(const std::uint8_t *b, const std::uint8_t *g, const std::uint8_t *r, int n,
                     std::uint8_t *index)
{
    return cubeIndexesT(b, g, r, n, index);
}

// The same cube index for levels held in 32-bit lanes, straight from the registers. The red
// and blue steps are those above, on each lane's low half, whose high half stays zero; green's
// (6g + 128) * 257 is g * 1542 + 32896, one multiply-add of 16-bit pairs whose high half is the
// step, and a last multiply-add weighs red and green by 42 and 6. Multiply-adds also keep the
// compiler from turning multiplications by constants into longer chains of shifts and adds.
template <class DI>
HWY_INLINE hn::Vec<DI> cubeEntries(DI di, hn::Vec<DI> b, hn::Vec<DI> g, hn::Vec<DI> r)
{
    const hn::Repartition<std::uint16_t, DI> du16;
    const hn::Repartition<std::int16_t, DI> di16;
    const auto k25 = hn::Set(di, 25);
    const auto k1286 = hn::Set(du16, 1286);
    const auto step = [&](hn::Vec<DI> v) {
        return hn::BitCast(di, hn::MulHigh(hn::BitCast(du16, hn::Add(v, k25)), k1286));
    };
    const auto pairs = [&](std::int32_t low, std::int32_t high) {
        return hn::BitCast(di16, hn::Set(di, (high << 16) | low));
    };
    hn::Vec<DI> unused;
    const auto green =
        hn::ReorderWidenMulAccumulate(di, hn::BitCast(di16, hn::Or(g, hn::Set(di, 2 << 16))),
                                      pairs(1542, 16448), hn::Zero(di), unused);
    const auto redGreen = hn::OrAnd(step(r), green, hn::Set(di, std::int32_t(0xFFFF0000u)));
    const auto cube = hn::ReorderWidenMulAccumulate(di, hn::BitCast(di16, redGreen), pairs(42, 6),
                                                    step(b), unused);
    const auto isWhite = hn::Eq(hn::And(hn::And(b, g), r), hn::Set(di, 255));
    return hn::IfThenElse(isWhite, hn::Set(di, CubeWhiteIndex), cube);
}

// Writes the levels of one row of the target, vector by vector, in the target's form. Lanes
// past the row's end become white, so a whole vector may be stored wherever the target has room
// for it; only near the target's end are the last lanes copied one row's worth exactly.
template <int NC, TargetForm Form> class RowWriter
{
public:
    explicit RowWriter(const PixelTarget &target) : m_target(target)
    {
        static_assert(NC == 1 || NC == 3);
    }

    void start(int row, int column, int n)
    {
        constexpr int bytesPerPixel = Form == TargetForm::Bgr ? 3 : 1;
        const std::ptrdiff_t at =
            std::ptrdiff_t(row) * m_target.stride + std::ptrdiff_t(column) * bytesPerPixel;
        m_dst = m_target.data + at;
        m_n = n;
        // A whole vector past the row's end, and the white that runs past packed pixels.
        m_roomy = at + std::ptrdiff_t(bytesPerPixel) * (n + MaxLanes) + MaxLanes <= m_target.size;
    }

    // The levels, 0 to 255, of every channel for the lanes from column x on.
    template <class DI> HWY_INLINE void put(DI di, int x, hn::Vec<DI> *level)
    {
        const int lanes = int(hn::Lanes(di));
        const int left = m_n - x;
        if (left < lanes) {
            const auto inRow = hn::FirstN(di, std::size_t(left));
            const auto white = hn::Set(di, 255);
            for (int c = 0; c < NC; ++c)
                level[c] = hn::IfThenElse(inRow, level[c], white);
        }
        if constexpr (Form == TargetForm::Planes) {
            for (int c = 0; c < NC; ++c)
                putBytes(di, m_dst + c * m_target.planeStep + x, left, level[c]);
        } else if constexpr (Form == TargetForm::CubeIndex) {
            const auto &green = level[NC == 3 ? 1 : 0];
            const auto &red = level[NC == 3 ? 2 : 0];
            if (NC == 3 && !m_colour)
                m_colour = !hn::AllTrue(di, hn::Eq(level[0], green)) ||
                           !hn::AllTrue(di, hn::Eq(level[0], red));
            putBytes(di, m_dst + x, left, cubeEntries(di, level[0], green, red));
        } else {
            putBgr(di, m_dst + 3 * x, left, level);
        }
    }

    bool colourWritten() const { return m_colour; }

private:
    template <class DI> HWY_INLINE void putBytes(DI di, std::uint8_t *dst, int left, hn::Vec<DI> v)
    {
        const LevelByteTag<DI> d8;
        const auto bytes = hn::U8FromU32(hn::BitCast(hn::RebindToUnsigned<DI>(), v));
        if (m_roomy || left >= int(hn::Lanes(di))) {
            hn::StoreU(bytes, d8, dst);
        } else {
            alignas(64) std::uint8_t last[MaxLanes];
            hn::StoreU(bytes, d8, last);
            std::memcpy(dst, last, std::size_t(left));
        }
    }

    // Blue, green, red are packed in registers: 4 pixels in the low 12 bytes of each 128-bit
    // block, white in the other 4; then the blocks' pixels are moved together, the white
    // behind them, and stored as one vector.
    template <class DI>
    HWY_INLINE void putBgr(DI di, std::uint8_t *dst, int left, hn::Vec<DI> *level)
    {
        const ByteTag<DI> db;
        constexpr int lanes = int(hn::MaxLanes(DI()));
        const auto bytes = [&](int c) { return hn::BitCast(db, level[c]); };
        const auto whiteTail = hn::LoadDup128(db, WhiteTail);
        hn::Vec<decltype(db)> packed;
        if constexpr (NC == 1) {
            packed =
                hn::Or(hn::TableLookupBytesOr0(bytes(0), hn::LoadDup128(db, GreyToBgr)), whiteTail);
        } else {
            packed = hn::Or3(
                hn::TableLookupBytesOr0(bytes(0), hn::LoadDup128(db, BlueToBgr)),
                hn::TableLookupBytesOr0(bytes(1), hn::LoadDup128(db, GreenToBgr)),
                hn::Or(hn::TableLookupBytesOr0(bytes(2), hn::LoadDup128(db, RedToBgr)), whiteTail));
        }
        if constexpr (lanes > 4) {
            alignas(64) static constexpr std::int32_t Together[16] = {0,  1,  2,  4,  5, 6, 8,  9,
                                                                      10, 12, 13, 14, 3, 7, 11, 15};
            alignas(32) static constexpr std::int32_t TogetherHalf[8] = {0, 1, 2, 4, 5, 6, 3, 7};
            static_assert(lanes == 8 || lanes == 16);
            packed = hn::BitCast(
                db, hn::TableLookupLanes(
                        hn::BitCast(di, packed),
                        hn::SetTableIndices(di, lanes == 16 ? Together : TogetherHalf)));
        }
        // The stored vector runs a third past the chunk's pixels, in white.
        if (m_roomy || 4 * lanes <= 3 * left) {
            hn::StoreU(packed, db, dst);
        } else {
            alignas(64) std::uint8_t last[4 * MaxLanes];
            hn::Store(packed, db, last);
            std::memcpy(dst, last, std::size_t(3 * std::min(left, lanes)));
        }
    }

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
    alignas(16) static constexpr std::uint8_t WhiteTail[16] = {0, 0, 0, 0, 0,   0,   0,   0,
                                                               0, 0, 0, 0, 255, 255, 255, 255};

    const PixelTarget &m_target;
    std::uint8_t *m_dst = nullptr;
    int m_n = 0;
    bool m_roomy = false;
    bool m_colour = false;
};

// 16-byte windows of a source row, one to each 128-bit block of the vector, so that a byte
// shuffle picks the pixel pairs of all lanes: a block holds four output columns, and a window
// serves a group of 4, 8 or 16 columns (starts[k] is block k's window). Where a group spans
// several blocks, its window is loaded once and repeated.
template <class D>
HWY_INLINE hn::Vec<D> loadWindows(D d, const std::uint8_t *row, const std::int32_t *starts,
                                  int group)
{
    constexpr int bytes = int(hn::MaxLanes(D()));
    if constexpr (bytes <= 16) {
        return hn::LoadU(d, row + starts[0]);
    } else {
        if (group >= bytes / 4)
            return hn::LoadDup128(d, row + starts[0]);
        const hn::Half<D> dh;
        constexpr int blocks = bytes / 32;
        return hn::Combine(d, loadWindows(dh, row, starts + blocks, group),
                           loadWindows(dh, row, starts, group));
    }
}

template <int NC, TargetForm Form> bool scaleT(const ScaleJob &job)
{
    constexpr int N = MaxLanes;
    static_assert(N % 4 == 0);
    const int n = job.endColumn - job.firstColumn;
    const int rows = job.endRow - job.firstRow;
    if (n <= 0 || rows <= 0 || int(hn::Lanes(DF())) != N)
        return portable::scale(job);
    const int nv = (n + N - 1) / N * N;
    const PixelSource &src = job.source;

    // The horizontal mix picks pixels sx and sx + 1 for every output column from 16-byte
    // windows. A window serves 16 columns where the picture grows, 8 down to half size, 4 down
    // to about a fifth; below that the pairs are gathered one by one.
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
    const auto spans = [&](int group) {
        for (int k = 0; k < n; ++k)
            if (job.columnSource[k] - job.columnSource[k / group * group] + 1 >= 16)
                return false;
        return true;
    };
    const int group = spans(16) ? 16 : spans(8) ? 8 : 4;
    bool windowsFit = group > 4 || spans(4);
    bool columnsWhole = true;
    for (int b = 0; b < blocks; ++b) {
        const int start = job.columnSource[std::min(4 * b / group * group, n - 1)];
        windowStart[b] = start;
        for (int j = 0; j < 4 && 4 * b + j < n; ++j) {
            const int at = job.columnSource[4 * b + j] - start;
            const float f = job.columnFraction[4 * b + j];
            columnsWhole = columnsWhole && (f == 0.0f || f == 1.0f);
            firstPick[16 * b + 4 * j] = std::uint8_t(at);
            secondPick[16 * b + 4 * j] = std::uint8_t(at + 1);
            wholePick[16 * b + 4 * j] = std::uint8_t(f == 0.0f ? at : at + 1);
        }
    }

    // The window starts of a vector's blocks, copied out once for all channels: the compiler
    // would otherwise read them again after every store of mixed values.
    const auto blockStarts = [&](int x) {
        std::array<std::int32_t, MaxLanes / 4> starts;
        std::memcpy(starts.data(), windowStart + x / 4, sizeof starts);
        return starts;
    };

    thread_local std::vector<float> mixedStore;
    mixedStore.resize(std::size_t(2 * NC) * std::size_t(nv));
    float *const mixedBase = mixedStore.data();
    int held[2] = {-1, -1};
    auto mixed = [&](int slot, int c) { return mixedBase + std::size_t(slot * NC + c) * nv; };
    auto sourceRows = [&](int r, const std::uint8_t **row) {
        const std::uint8_t *first = src.data + std::ptrdiff_t(r) * src.stride;
        for (int c = 0; c < NC; ++c)
            row[c] = first + c * src.planeStep;
    };
    const std::int32_t *columnSource = job.columnSource;
    const float *columnRest = job.columnRest;
    const float *columnFraction = job.columnFraction;
    auto slotOf = [&](int r) { return held[0] == r ? 0 : held[1] == r ? 1 : -1; };

    RowWriter<NC, Form> writer(job.target);
    for (int k = 0; k < rows; ++k) {
        const int sy = job.rowSource[k];
        // A row that falls on a source row takes it whole: with fy = 0 the mix is
        // 1 * top + 0 * bottom, exactly top, and with fy = 1 exactly bottom (the mixed values
        // are finite and not negative). Then only that row need be mixed: at x0.5 or x1.0 every
        // output row is such a row.
        const float fraction = job.rowFraction[k];
        const bool topOnly = fraction == 0.0f;
        const bool bottomOnly = job.rowRest[k] == 0.0f;
        writer.start(job.firstRow + k, job.firstColumn, n);
        if ((topOnly || bottomOnly) && columnsWhole && windowsFit) {
            // Every pixel falls on a source pixel: a copy, by byte picks.
            const std::uint8_t *row[NC];
            sourceRows(topOnly ? sy : sy + 1, row);
            forChunks(n, [&](auto d, int x) {
                const ByteTag<decltype(d)> db;
                const IntTag<decltype(d)> di;
                const auto starts = blockStarts(x);
                const auto pick = hn::LoadU(db, wholePick + 4 * x);
                hn::Vec<decltype(di)> level[NC];
                for (int c = 0; c < NC; ++c)
                    level[c] =
                        hn::BitCast(di, hn::TableLookupBytesOr0(
                                            loadWindows(db, row[c], starts.data(), group), pick));
                writer.put(di, x, level);
            });
            continue;
        }
        int top = slotOf(sy);
        int bottom = slotOf(sy + 1);
        int mixSlot[2], mixSource[2], mixes = 0;
        if (top < 0 && !bottomOnly) {
            top = bottom == 0 ? 1 : 0;
            mixSlot[mixes] = top;
            mixSource[mixes++] = sy;
        }
        if (bottom < 0 && !topOnly) {
            bottom = top == 0 ? 1 : 0;
            mixSlot[mixes] = bottom;
            mixSource[mixes++] = sy + 1;
        }
        // All channels in one pass: they share the picks and the weights.
        for (int m = 0; m < mixes; ++m) {
            const int slot = mixSlot[m];
            const int r = mixSource[m];
            const std::uint8_t *row[NC];
            sourceRows(r, row);
            float *out[NC];
            for (int c = 0; c < NC; ++c)
                out[c] = mixed(slot, c);
            forChunks(n, [&](auto d, int x) {
                const ByteTag<decltype(d)> db;
                const IntTag<decltype(d)> di;
                const auto rest = hn::LoadU(d, columnRest + x);
                const auto fraction = hn::LoadU(d, columnFraction + x);
                if (windowsFit) {
                    const auto starts = blockStarts(x);
                    const auto first = hn::LoadU(db, firstPick + 4 * x);
                    const auto second = hn::LoadU(db, secondPick + 4 * x);
                    for (int c = 0; c < NC; ++c) {
                        const auto window = loadWindows(db, row[c], starts.data(), group);
                        const auto p0 = byteAsFloat(d, hn::TableLookupBytesOr0(window, first));
                        const auto p1 = byteAsFloat(d, hn::TableLookupBytesOr0(window, second));
                        hn::StoreU(mix(rest, p0, fraction, p1), d, out[c] + x);
                    }
                } else {
                    const auto offsets = hn::LoadU(di, columnSource + x);
                    const auto low = hn::Set(di, 0xFF);
                    for (int c = 0; c < NC; ++c) {
                        const auto pair = hn::GatherOffset(
                            di, reinterpret_cast<const std::int32_t *>(row[c]), offsets);
                        const auto p0 = hn::ConvertTo(d, hn::And(pair, low));
                        const auto p1 = hn::ConvertTo(d, hn::And(hn::ShiftRight<8>(pair), low));
                        hn::StoreU(mix(rest, p0, fraction, p1), d, out[c] + x);
                    }
                }
            });
            held[slot] = r;
        }
        if (topOnly || bottomOnly) {
            const int slot = topOnly ? top : bottom;
            forChunks(n, [&](auto d, int x) {
                const IntTag<decltype(d)> di;
                hn::Vec<decltype(di)> level[NC];
                for (int c = 0; c < NC; ++c)
                    level[c] = truncToInt(hn::LoadU(d, mixed(slot, c) + x));
                writer.put(di, x, level);
            });
            continue;
        }
        const float rest = job.rowRest[k];
        const float *t[NC];
        const float *b[NC];
        for (int c = 0; c < NC; ++c) {
            t[c] = mixed(top, c);
            b[c] = mixed(bottom, c);
        }
        forChunks(n, [&](auto d, int x) {
            const IntTag<decltype(d)> di;
            const auto gy = hn::Set(d, rest);
            const auto fy = hn::Set(d, fraction);
            hn::Vec<decltype(di)> level[NC];
            for (int c = 0; c < NC; ++c)
                level[c] = truncToInt(mix(gy, hn::LoadU(d, t[c] + x), fy, hn::LoadU(d, b[c] + x)));
            writer.put(di, x, level);
        });
    }
    return writer.colourWritten();
}

// Every pixel of a plane next to the one below it, as 16-bit pairs: (x, y) in the low byte,
// (x, y + 1) in the high one, rows 0 to height - 2. A 32-bit load at a pair then holds the four
// pixels around a position, (x, y), (x, y + 1), (x + 1, y), (x + 1, y + 1) from the lowest byte
// up, so a turned pixel takes one gather a channel. Half the size of the four pixels written out,
// and made by widening the two rows' bytes, the lower one shifted up.
void buildPairs(const std::uint8_t *plane, std::ptrdiff_t stride, int width, int height,
                std::uint16_t *pairs)
{
    const hn::ScalableTag<std::uint16_t> d16;
    const hn::Rebind<std::uint8_t, decltype(d16)> d8;
    const int N = int(hn::Lanes(d16));
    for (int y = 0; y + 1 < height; ++y) {
        const std::uint8_t *a = plane + y * stride;
        const std::uint8_t *b = a + stride;
        std::uint16_t *out = pairs + std::ptrdiff_t(y) * width;
        // Whole vectors, past the row's end into the next row or the padding: those pairs are
        // overwritten by the next row or never read.
        for (int x = 0; x < width; x += N) {
            const auto top = hn::PromoteTo(d16, hn::LoadU(d8, a + x));
            const auto bottom = hn::PromoteTo(d16, hn::LoadU(d8, b + x));
            hn::StoreU(hn::Or(top, hn::ShiftLeft<8>(bottom)), d16, out + x);
        }
    }
}

template <int NC, TargetForm Form> bool rotateT(const RotateJob &job)
{
    const PixelSource &src = job.source;
    // Nothing reaches a source this thin.
    if (src.width < 2 || src.height < 2)
        return false;
    if (int(hn::Lanes(DF())) != MaxLanes)
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
    alignas(16) static constexpr std::uint8_t X = 0x80;
    alignas(16) static constexpr std::uint8_t secondByte[16] = {1, X, X, X, 5,  X, X, X,
                                                                9, X, X, X, 13, X, X, X};
    alignas(16) static constexpr std::uint8_t thirdByte[16] = {2,  X, X, X, 6,  X, X, X,
                                                               10, X, X, X, 14, X, X, X};
    const int halfW = src.width / 2;
    const int halfH = src.height / 2;
    const int width = src.width;
    // A source index s is inside when 0 <= s < size - 1: one unsigned comparison.
    const std::uint32_t insideX = std::uint32_t(src.width - 1);
    const std::uint32_t insideY = std::uint32_t(src.height - 1);
    RowWriter<NC, Form> writer(job.target);

    for (int dy = 0; dy < job.rows; ++dy) {
        const int begin = job.rowBegin[dy];
        const int len = job.rowEnd[dy] - begin;
        if (len <= 0)
            continue;
        writer.start(dy, begin, len);
        const float rowX = job.rowX[dy];
        const float rowY = job.rowY[dy];
        const float *colX = job.columnX + begin;
        const float *colY = job.columnY + begin;
        forChunks(len, [&](auto d, int x) {
            using DI = IntTag<decltype(d)>;
            const DI di;
            const ByteTag<decltype(d)> db;
            const auto one = hn::Set(d, 1.0f);
            const auto zero = hn::Zero(d);
            const auto xs = hn::Sub(hn::LoadU(d, colX + x), hn::Set(d, rowX));
            const auto ys = hn::Add(hn::LoadU(d, colY + x), hn::Set(d, rowY));
            const auto xt = hn::Trunc(hn::IfThenElse(hn::Gt(xs, zero), xs, hn::Sub(xs, one)));
            const auto yt = hn::Trunc(hn::IfThenElse(hn::Gt(ys, zero), ys, hn::Sub(ys, one)));
            const auto fx = hn::Sub(xs, xt);
            const auto fy = hn::Sub(ys, yt);
            const auto gx = hn::Sub(one, fx);
            const auto gy = hn::Sub(one, fy);
            const auto sx = hn::Add(hn::Set(di, halfW), truncToInt(xt));
            const auto sy = hn::Add(hn::Set(di, halfH), truncToInt(yt));
            const hn::RebindToUnsigned<DI> du;
            const auto inside =
                hn::RebindMask(di, hn::And(hn::Lt(hn::BitCast(du, sx), hn::Set(du, insideX)),
                                           hn::Lt(hn::BitCast(du, sy), hn::Set(du, insideY))));
            // Lanes outside fetch the first pair, in bounds, and are then painted white.
            const auto pair =
                hn::IfThenElseZero(inside, hn::Add(hn::Mul(sy, hn::Set(di, width)), sx));
            const auto offset = hn::Add(pair, pair);
            const auto byteMask = hn::Set(di, 0xFF);
            const auto white = hn::Set(di, 255);
            const auto pickSecond = hn::LoadDup128(db, secondByte);
            const auto pickThird = hn::LoadDup128(db, thirdByte);
            hn::Vec<DI> level[NC];
            for (int c = 0; c < NC; ++c) {
                const auto word = hn::GatherOffset(di, pairs[c], offset);
                const auto bytes = hn::BitCast(db, word);
                const auto p00 = hn::ConvertTo(d, hn::And(word, byteMask));
                const auto p01 =
                    hn::ConvertTo(d, hn::BitCast(di, hn::TableLookupBytesOr0(bytes, pickSecond)));
                const auto p10 =
                    hn::ConvertTo(d, hn::BitCast(di, hn::TableLookupBytesOr0(bytes, pickThird)));
                const auto p11 =
                    hn::ConvertTo(d, hn::BitCast(di, hn::ShiftRight<24>(hn::BitCast(du, word))));
                const auto v = mix(gy, mix(gx, p00, fx, p10), fy, mix(gx, p01, fx, p11));
                level[c] = hn::IfThenElse(inside, truncToInt(v), white);
            }
            writer.put(di, x, level);
        });
    }
    return writer.colourWritten();
}

// One kernel for every pairing of channels and target form: the form decides the inner loop's
// last steps, which are then compiled into it.
template <class Job, class Kernel> bool byForm(const Job &job, Kernel kernel)
{
    const bool grey = job.source.channels == 1;
    switch (job.target.form) {
    case TargetForm::Planes:
        return grey ? kernel.template operator()<1, TargetForm::Planes>()
                    : kernel.template operator()<3, TargetForm::Planes>();
    case TargetForm::Bgr:
        return grey ? kernel.template operator()<1, TargetForm::Bgr>()
                    : kernel.template operator()<3, TargetForm::Bgr>();
    case TargetForm::CubeIndex:
        break;
    }
    return grey ? kernel.template operator()<1, TargetForm::CubeIndex>()
                : kernel.template operator()<3, TargetForm::CubeIndex>();
}

bool ScaleImpl(const ScaleJob &job)
{
    return byForm(job, [&]<int NC, TargetForm Form>() { return scaleT<NC, Form>(job); });
}

bool RotateImpl(const RotateJob &job)
{
    return byForm(job, [&]<int NC, TargetForm Form>() { return rotateT<NC, Form>(job); });
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
