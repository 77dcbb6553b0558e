// The kernels in plain C++: what runs where the processor offers no vector instructions, and
// the yardstick the vector code is compared with. Same tables, same order of operations.

#include "core/board/FastResample.h"

#include <cstring>
#include <vector>

namespace queldo::fast::portable {

namespace {

inline void put(const PixelTarget &target, int channels, std::uint8_t *row, int x, int c,
                std::uint8_t v)
{
    if (target.pixelBytes == 1) {
        row[x] = v;
    } else if (channels == 1) {
        std::uint8_t *p = row + 3 * x;
        p[0] = p[1] = p[2] = v;
    } else {
        row[3 * x + c] = v;
    }
}

} // namespace

bool greyPlane(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *plane)
{
    bool grey = true;
    for (std::size_t k = 0; k < pixels; ++k, bgr += 3) {
        grey = grey && bgr[0] == bgr[1] && bgr[0] == bgr[2];
        plane[k] = bgr[0];
    }
    return grey;
}

void scale(const ScaleJob &job)
{
    const int n = job.endColumn - job.firstColumn;
    const int rows = job.endRow - job.firstRow;
    if (n <= 0 || rows <= 0)
        return;
    const PixelSource &src = job.source;
    const int next = src.pixelBytes; // from pixel sx to sx + 1
    const int channels = job.channels;

    thread_local std::vector<int> columnOffset;
    columnOffset.resize(std::size_t(n));
    for (int k = 0; k < n; ++k)
        columnOffset[k] = job.columnSource[k] * src.pixelBytes;

    // Two mixed source rows: consecutive output rows mostly share one of them.
    thread_local std::vector<float> mixedStore;
    mixedStore.resize(std::size_t(2 * channels) * std::size_t(n));
    int held[2] = {-1, -1};
    auto mixed = [&](int slot, int c) {
        return mixedStore.data() + std::size_t(slot * channels + c) * n;
    };
    auto mixRow = [&](int slot, int r) {
        for (int c = 0; c < channels; ++c) {
            float *h = mixed(slot, c);
            const std::uint8_t *row = src.data + r * src.stride + c;
            for (int k = 0; k < n; ++k) {
                const std::uint8_t *p = row + columnOffset[k];
                h[k] = job.columnRest[k] * float(p[0]) + job.columnFraction[k] * float(p[next]);
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
        const float gy = job.rowRest[k];
        const float fy = job.rowFraction[k];
        std::uint8_t *out = job.target.data + (job.firstRow + k) * job.target.stride +
                            job.firstColumn * job.target.pixelBytes;
        for (int c = 0; c < channels; ++c) {
            const float *t = mixed(top, c);
            const float *b = mixed(bottom, c);
            for (int x = 0; x < n; ++x)
                put(job.target, channels, out, x, c, std::uint8_t(int(gy * t[x] + fy * b[x])));
        }
    }
}

void rotate(const RotateJob &job)
{
    const PixelSource &src = job.source;
    const int halfW = src.width / 2;
    const int halfH = src.height / 2;
    const int next = src.pixelBytes;
    for (int dy = 0; dy < job.rows; ++dy) {
        const float rx = job.rowX[dy];
        const float ry = job.rowY[dy];
        std::uint8_t *out = job.target.data + dy * job.target.stride;
        for (int dx = job.rowBegin[dy]; dx < job.rowEnd[dy]; ++dx) {
            const float x = job.columnX[dx] - rx;
            const float y = job.columnY[dx] + ry;
            const int xi = x > 0.0f ? int(x) : int(x - 1.0f);
            const int yi = y > 0.0f ? int(y) : int(y - 1.0f);
            const int sx = halfW + xi;
            const int sy = halfH + yi;
            if (sx < 0 || sx >= src.width - 1 || sy < 0 || sy >= src.height - 1)
                continue; // the caller's white
            const float fx = x - float(xi);
            const float fy = y - float(yi);
            const float gx = 1.0f - fx;
            const float gy = 1.0f - fy;
            const std::uint8_t *r0 = src.data + sy * src.stride + sx * next;
            const std::uint8_t *r1 = r0 + src.stride;
            for (int c = 0; c < job.channels; ++c) {
                const float top = gx * float(r0[c]) + fx * float(r0[c + next]);
                const float bottom = gx * float(r1[c]) + fx * float(r1[c + next]);
                put(job.target, job.channels, out, dx, c,
                    std::uint8_t(int(gy * top + fy * bottom)));
            }
        }
    }
}

} // namespace queldo::fast::portable
