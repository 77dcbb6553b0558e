// The kernels in vector code, compiled once for every instruction set Highway knows on this
// architecture and chosen at the first call for the processor at hand.
//
// Exactness: every lane goes through the same IEEE single-precision multiplies and adds as the
// scalar rule, one at a time (Mul then Add, never MulAdd; the library is built with
// -ffp-contract=off so the compiler does not fuse them either), and float-to-int conversion
// truncates as the scalar casts do.

#include "board/FastResample.h"

#include <cstring>
#include <vector>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "board/FastResampleSimd.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep
#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace queldo::fast {
namespace HWY_NAMESPACE {

#if HWY_TARGET == HWY_SCALAR

// One lane at a time gains nothing over the portable code.
bool IsGreyImpl(const std::uint8_t *bgr, std::size_t pixels) { return portable::isGrey(bgr, pixels); }
void FirstChannelImpl(const std::uint8_t *bgr, std::uint8_t *out, std::size_t pixels)
{
    portable::firstChannel(bgr, out, pixels);
}
void ScaleImpl(const ScaleJob &job) { portable::scale(job); }
void RotateImpl(const RotateJob &job) { portable::rotate(job); }

#else

namespace hn = hwy::HWY_NAMESPACE;

using DF = hn::ScalableTag<float>;
using DI = hn::RebindToSigned<DF>;
using DU = hn::RebindToUnsigned<DF>;
using DU8 = hn::Rebind<std::uint8_t, DF>; // one byte for each float lane
using VF = hn::Vec<DF>;
using VI = hn::Vec<DI>;

// Positions 3k and 3k + 1 compared with the byte after them: blue with green, green with red.
struct GreyPairs
{
    std::uint8_t bytes[3 * HWY_MAX_BYTES] = {};
    constexpr GreyPairs()
    {
        for (int k = 0; k < 3 * HWY_MAX_BYTES; ++k)
            bytes[k] = k % 3 != 2 ? 0xFF : 0;
    }
};
constexpr GreyPairs greyPairs;

bool IsGreyImpl(const std::uint8_t *HWY_RESTRICT bgr, std::size_t pixels)
{
    const hn::ScalableTag<std::uint8_t> d;
    const std::size_t N = hn::Lanes(d);
    const std::size_t bytes = 3 * pixels;
    const auto m0 = hn::LoadU(d, greyPairs.bytes);
    const auto m1 = hn::LoadU(d, greyPairs.bytes + N);
    const auto m2 = hn::LoadU(d, greyPairs.bytes + 2 * N);
    auto differ = hn::Zero(d);
    std::size_t i = 0;
    // Steps of 3N bytes keep i a multiple of 3, so the pattern stays aligned with the pixels.
    for (; i + 3 * N + 1 <= bytes; i += 3 * N) {
        const std::uint8_t *p = bgr + i;
        differ = hn::Or(differ, hn::And(hn::Xor(hn::LoadU(d, p), hn::LoadU(d, p + 1)), m0));
        differ = hn::Or(differ, hn::And(hn::Xor(hn::LoadU(d, p + N), hn::LoadU(d, p + N + 1)), m1));
        differ = hn::Or(differ, hn::And(hn::Xor(hn::LoadU(d, p + 2 * N), hn::LoadU(d, p + 2 * N + 1)), m2));
    }
    if (!hn::AllTrue(d, hn::Eq(differ, hn::Zero(d))))
        return false;
    return portable::isGrey(bgr + i, (bytes - i) / 3);
}

void FirstChannelImpl(const std::uint8_t *HWY_RESTRICT bgr, std::uint8_t *HWY_RESTRICT out, std::size_t pixels)
{
    const hn::ScalableTag<std::uint8_t> d;
    const std::size_t N = hn::Lanes(d);
    std::size_t k = 0;
    for (; k + N <= pixels; k += N) {
        hn::Vec<decltype(d)> b, g, r;
        hn::LoadInterleaved3(d, bgr + 3 * k, b, g, r);
        hn::StoreU(b, d, out + k);
    }
    portable::firstChannel(bgr + 3 * k, out + k, pixels - k);
}

// The two horizontal neighbours (sx and sx + 1) of one channel, fetched as a single 32-bit word
// at the byte offset of sx: bytes 0 and 1 of a grey plane, 0 and 3 of blue, green, red.
template <int PB>
HWY_INLINE void pixelPair(const std::uint8_t *base, VI offset, VF &first, VF &second)
{
    const DF df;
    const DI di;
    const DU du;
    const auto word = hn::BitCast(du, hn::GatherOffset(di, reinterpret_cast<const std::int32_t *>(base), offset));
    const auto low = hn::Set(du, 0xFF);
    first = hn::ConvertTo(df, hn::BitCast(di, hn::And(word, low)));
    if constexpr (PB == 3)
        second = hn::ConvertTo(df, hn::BitCast(di, hn::ShiftRight<24>(word)));
    else
        second = hn::ConvertTo(df, hn::BitCast(di, hn::And(hn::ShiftRight<8>(word), low)));
}

// (1 - f) * a + f * b, two products and a sum, each rounded.
HWY_INLINE VF mix(VF rest, VF a, VF fraction, VF b)
{
    return hn::Add(hn::Mul(rest, a), hn::Mul(fraction, b));
}

HWY_INLINE void storeLevels(VF v, std::uint8_t *out)
{
    hn::StoreU(hn::DemoteTo(DU8(), hn::ConvertTo(DI(), v)), DU8(), out);
}

// Writes n computed pixels to the target: as they are, grey copied to three bytes, or the
// three channel rows interleaved.
template <int NC>
void emitRow(const std::uint8_t *levels, std::size_t channelStride, int n, const PixelTarget &target,
             std::uint8_t *dst)
{
    if (target.pixelBytes == 1) {
        std::memcpy(dst, levels, std::size_t(n));
        return;
    }
    const std::uint8_t *b = levels;
    const std::uint8_t *g = NC == 3 ? levels + channelStride : levels;
    const std::uint8_t *r = NC == 3 ? levels + 2 * channelStride : levels;
    const hn::ScalableTag<std::uint8_t> d;
    const int N = int(hn::Lanes(d));
    int x = 0;
    for (; x + N <= n; x += N)
        hn::StoreInterleaved3(hn::LoadU(d, b + x), hn::LoadU(d, g + x), hn::LoadU(d, r + x), d, dst + 3 * x);
    for (; x < n; ++x) {
        dst[3 * x] = b[x];
        dst[3 * x + 1] = g[x];
        dst[3 * x + 2] = r[x];
    }
}

template <int PB, int NC>
void scaleT(const ScaleJob &job)
{
    const DF df;
    const DI di;
    const int N = int(hn::Lanes(df));
    const int n = job.endColumn - job.firstColumn;
    const int rows = job.endRow - job.firstRow;
    if (n <= 0 || rows <= 0)
        return;
    const int nv = (n + N - 1) / N * N;
    const PixelSource &src = job.source;

    thread_local std::vector<float> mixedStore;
    thread_local std::vector<std::uint8_t> levels;
    mixedStore.resize(std::size_t(2 * NC) * std::size_t(nv));
    levels.resize(std::size_t(NC) * std::size_t(nv));
    int held[2] = {-1, -1};
    auto mixed = [&](int slot, int c) { return mixedStore.data() + std::size_t(slot * NC + c) * nv; };
    auto mixRow = [&](int slot, int r) {
        for (int c = 0; c < NC; ++c) {
            float *h = mixed(slot, c);
            const std::uint8_t *base = src.data + r * src.stride + c;
            for (int x = 0; x < nv; x += N) {
                VF p0, p1;
                pixelPair<PB>(base, hn::LoadU(di, job.columnOffset + x), p0, p1);
                hn::StoreU(mix(hn::LoadU(df, job.columnRest + x), p0, hn::LoadU(df, job.columnFraction + x), p1),
                           df, h + x);
            }
        }
        held[slot] = r;
    };
    auto slotOf = [&](int r) { return held[0] == r ? 0 : held[1] == r ? 1 : -1; };

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
        const VF gy = hn::Set(df, job.rowRest[k]);
        const VF fy = hn::Set(df, job.rowFraction[k]);
        for (int c = 0; c < NC; ++c) {
            const float *t = mixed(top, c);
            const float *b = mixed(bottom, c);
            std::uint8_t *out = levels.data() + std::size_t(c) * nv;
            for (int x = 0; x < nv; x += N)
                storeLevels(mix(gy, hn::LoadU(df, t + x), fy, hn::LoadU(df, b + x)), out + x);
        }
        std::uint8_t *dst = job.target.data + (job.firstRow + k) * job.target.stride
                            + job.firstColumn * job.target.pixelBytes;
        emitRow<NC>(levels.data(), std::size_t(nv), n, job.target, dst);
    }
}

template <int PB, int NC>
void rotateT(const RotateJob &job)
{
    const DF df;
    const DI di;
    const int N = int(hn::Lanes(df));
    const PixelSource &src = job.source;
    // Nothing reaches a source this thin, and the row below would lie outside it.
    if (src.width < 2 || src.height < 2)
        return;
    const VF one = hn::Set(df, 1.0f);
    const VF zero = hn::Zero(df);
    const VI halfW = hn::Set(di, src.width / 2);
    const VI halfH = hn::Set(di, src.height / 2);
    const VI minusOne = hn::Set(di, -1);
    const VI lastX = hn::Set(di, src.width - 1);
    const VI lastY = hn::Set(di, src.height - 1);
    const VI stride = hn::Set(di, std::int32_t(src.stride));
    const VI white = hn::Set(di, 255);
    thread_local std::vector<std::uint8_t> levels;

    for (int dy = 0; dy < job.rows; ++dy) {
        const int begin = job.rowBegin[dy];
        const int len = job.rowEnd[dy] - begin;
        if (len <= 0)
            continue;
        const int lenv = (len + N - 1) / N * N;
        levels.resize(std::size_t(NC) * std::size_t(lenv));
        const VF rx = hn::Set(df, job.rowX[dy]);
        const VF ry = hn::Set(df, job.rowY[dy]);
        const float *colX = job.columnX + begin;
        const float *colY = job.columnY + begin;
        for (int x = 0; x < len; x += N) {
            const VF xs = hn::Sub(hn::LoadU(df, colX + x), rx);
            const VF ys = hn::Add(hn::LoadU(df, colY + x), ry);
            const VI xi = hn::ConvertTo(di, hn::IfThenElse(hn::Gt(xs, zero), xs, hn::Sub(xs, one)));
            const VI yi = hn::ConvertTo(di, hn::IfThenElse(hn::Gt(ys, zero), ys, hn::Sub(ys, one)));
            const VF fx = hn::Sub(xs, hn::ConvertTo(df, xi));
            const VF fy = hn::Sub(ys, hn::ConvertTo(df, yi));
            const VF gx = hn::Sub(one, fx);
            const VF gy = hn::Sub(one, fy);
            const VI sx = hn::Add(halfW, xi);
            const VI sy = hn::Add(halfH, yi);
            const auto inside = hn::And(hn::And(hn::Gt(sx, minusOne), hn::Lt(sx, lastX)),
                                        hn::And(hn::Gt(sy, minusOne), hn::Lt(sy, lastY)));
            const VI column = PB == 3 ? hn::Add(sx, hn::Add(sx, sx)) : sx;
            // Lanes outside fetch from the first pixel, in bounds, and are then painted white.
            const VI offset = hn::IfThenElseZero(inside, hn::Add(hn::Mul(sy, stride), column));
            for (int c = 0; c < NC; ++c) {
                VF p00, p10, p01, p11;
                pixelPair<PB>(src.data + c, offset, p00, p10);
                pixelPair<PB>(src.data + src.stride + c, offset, p01, p11);
                const VF v = mix(gy, mix(gx, p00, fx, p10), fy, mix(gx, p01, fx, p11));
                const VI level = hn::IfThenElse(inside, hn::ConvertTo(di, v), white);
                hn::StoreU(hn::DemoteTo(DU8(), level), DU8(), levels.data() + std::size_t(c) * lenv + x);
            }
        }
        std::uint8_t *dst = job.target.data + dy * job.target.stride + begin * job.target.pixelBytes;
        emitRow<NC>(levels.data(), std::size_t(lenv), len, job.target, dst);
    }
}

void ScaleImpl(const ScaleJob &job)
{
    if (job.source.pixelBytes == 1)
        scaleT<1, 1>(job);
    else if (job.channels == 1)
        scaleT<3, 1>(job);
    else
        scaleT<3, 3>(job);
}

void RotateImpl(const RotateJob &job)
{
    if (job.source.pixelBytes == 1)
        rotateT<1, 1>(job);
    else if (job.channels == 1)
        rotateT<3, 1>(job);
    else
        rotateT<3, 3>(job);
}

#endif // HWY_TARGET == HWY_SCALAR

} // namespace HWY_NAMESPACE
} // namespace queldo::fast
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace queldo::fast {

HWY_EXPORT(IsGreyImpl);
HWY_EXPORT(FirstChannelImpl);
HWY_EXPORT(ScaleImpl);
HWY_EXPORT(RotateImpl);

bool isGrey(const std::uint8_t *bgr, std::size_t pixels, bool portableOnly)
{
    return portableOnly ? portable::isGrey(bgr, pixels) : HWY_DYNAMIC_DISPATCH(IsGreyImpl)(bgr, pixels);
}

void firstChannel(const std::uint8_t *bgr, std::uint8_t *out, std::size_t pixels, bool portableOnly)
{
    if (portableOnly)
        portable::firstChannel(bgr, out, pixels);
    else
        HWY_DYNAMIC_DISPATCH(FirstChannelImpl)(bgr, out, pixels);
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
    if (portableOnly)
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
