// The kernels in plain C++: what runs where the processor offers no vector instructions, and
// the yardstick the vector code is compared with. Same tables, same order of operations.

#include "core/board/FastResample.h"

#include <vector>

namespace queldo::fast::portable {

namespace {

// Puts one pixel's levels into the target in its form, and remembers whether a colour one was
// written.
class PixelWriter
{
public:
    PixelWriter(const PixelTarget &target, int channels) : m_target(target), m_channels(channels) {}

    std::uint8_t *row(int y, int firstColumn) const
    {
        return m_target.data + y * m_target.stride +
               firstColumn * (m_target.form == TargetForm::Bgr ? 3 : 1);
    }

    void put(std::uint8_t *row, int x, const std::uint8_t *level)
    {
        switch (m_target.form) {
        case TargetForm::Planes:
            for (int c = 0; c < m_channels; ++c)
                row[c * m_target.planeStep + x] = level[c];
            break;
        case TargetForm::Bgr: {
            std::uint8_t *p = row + 3 * x;
            const int c = m_channels == 3 ? 1 : 0;
            p[0] = level[0];
            p[1] = level[c];
            p[2] = level[2 * c];
            break;
        }
        case TargetForm::CubeIndex:
            row[x] = std::uint8_t(cubeIndex(level[0], level[1], level[2]));
            m_colour = m_colour || level[0] != level[1] || level[0] != level[2];
            break;
        }
    }

    bool colourWritten() const { return m_colour; }

private:
    const PixelTarget &m_target;
    int m_channels;
    bool m_colour = false;
};

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

bool splitPlanes(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *planes,
                 std::ptrdiff_t planeStep)
{
    std::uint8_t *b = planes;
    std::uint8_t *g = planes + planeStep;
    std::uint8_t *r = planes + 2 * planeStep;
    unsigned differ = 0;
    for (std::size_t k = 0; k < pixels; ++k, bgr += 3) {
        b[k] = bgr[0];
        g[k] = bgr[1];
        r[k] = bgr[2];
        differ |= unsigned(bgr[0] ^ bgr[1]) | unsigned(bgr[0] ^ bgr[2]);
    }
    return differ == 0;
}

bool cubeIndexes(const std::uint8_t *b, const std::uint8_t *g, const std::uint8_t *r, int n,
                 std::uint8_t *index)
{
    unsigned differ = 0;
    for (int x = 0; x < n; ++x) {
        index[x] = std::uint8_t(cubeIndex(b[x], g[x], r[x]));
        differ |= unsigned(b[x] ^ g[x]) | unsigned(b[x] ^ r[x]);
    }
    return differ != 0;
}

bool scale(const ScaleJob &job)
{
    const int n = job.endColumn - job.firstColumn;
    const int rows = job.endRow - job.firstRow;
    if (n <= 0 || rows <= 0)
        return false;
    const PixelSource &src = job.source;
    const int channels = src.channels;

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
            const std::uint8_t *row = src.plane(c) + r * src.stride;
            for (int k = 0; k < n; ++k) {
                const std::uint8_t *p = row + job.columnSource[k];
                h[k] = job.columnRest[k] * float(p[0]) + job.columnFraction[k] * float(p[1]);
            }
        }
        held[slot] = r;
    };
    auto slotOf = [&](int r) { return held[0] == r ? 0 : held[1] == r ? 1 : -1; };

    PixelWriter writer(job.target, channels);
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
        const float *t[3] = {};
        const float *b[3] = {};
        for (int c = 0; c < channels; ++c) {
            t[c] = mixed(top, c);
            b[c] = mixed(bottom, c);
        }
        std::uint8_t *out = writer.row(job.firstRow + k, job.firstColumn);
        for (int x = 0; x < n; ++x) {
            std::uint8_t level[3];
            for (int c = 0; c < channels; ++c)
                level[c] = std::uint8_t(int(gy * t[c][x] + fy * b[c][x]));
            writer.put(out, x, level);
        }
    }
    return writer.colourWritten();
}

bool rotate(const RotateJob &job)
{
    const PixelSource &src = job.source;
    const int halfW = src.width / 2;
    const int halfH = src.height / 2;
    PixelWriter writer(job.target, src.channels);
    for (int dy = 0; dy < job.rows; ++dy) {
        const float rx = job.rowX[dy];
        const float ry = job.rowY[dy];
        std::uint8_t *out = writer.row(dy, 0);
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
            std::uint8_t level[3];
            for (int c = 0; c < src.channels; ++c) {
                const std::uint8_t *r0 = src.plane(c) + sy * src.stride + sx;
                const std::uint8_t *r1 = r0 + src.stride;
                const float top = gx * float(r0[0]) + fx * float(r0[1]);
                const float bottom = gx * float(r1[0]) + fx * float(r1[1]);
                level[c] = std::uint8_t(int(gy * top + fy * bottom));
            }
            writer.put(out, dx, level);
        }
    }
    return writer.colourWritten();
}

} // namespace queldo::fast::portable
