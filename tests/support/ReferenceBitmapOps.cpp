#include "ReferenceBitmapOps.h"

#include <cmath>

namespace queldo::test {

namespace {

void paintSample(const Bgr24Image &src, float x, float y, Bgr24Image &dst, int dx, int dy)
{
    if (dx < 0 || dx >= dst.width || dy < 0 || dy >= dst.height)
        return;
    int xi, yi;
    if (x > 0)
        xi = int(x);
    else
        xi = int(x - 1);
    if (y > 0)
        yi = int(y);
    else
        yi = int(y - 1);
    float fx = x - xi;
    float fy = y - yi;
    int sx = src.width / 2 + xi;
    int sy = src.height / 2 + yi;
    std::uint8_t *out = dst.row(dy) + 3 * dx;
    if (sx < 0 || sx >= src.width - 1 || sy < 0 || sy >= src.height - 1) {
        out[0] = out[1] = out[2] = 255;
        return;
    }
    for (int c = 0; c < 3; ++c) {
        float p00 = src.row(sy)[3 * sx + c];
        float p10 = src.row(sy)[3 * (sx + 1) + c];
        float p01 = src.row(sy + 1)[3 * sx + c];
        float p11 = src.row(sy + 1)[3 * (sx + 1) + c];
        float a = (1 - fx) * p00;
        float b = fx * p10;
        float top = a + b;
        float d = (1 - fx) * p01;
        float e = fx * p11;
        float bottom = d + e;
        float v1 = (1 - fy) * top;
        float v2 = fy * bottom;
        float v = v1 + v2;
        out[c] = std::uint8_t(int(v));
    }
}

} // namespace

Bgr24Image referenceScale(const Bgr24Image &source, float s)
{
    int width = int(source.width * s);
    int height = int(source.height * s - 1);
    Bgr24Image dst(width, height);
    int halfW = int(source.width * s * 0.5f);
    int halfH = int(source.height * s * 0.5f);
    for (int i = -halfH; i <= halfH - 1; ++i)
        for (int j = -halfW; j <= halfW; ++j)
            paintSample(source, j / s, i / s, dst, halfW + j, halfH + i);
    return dst;
}

Bgr24Image referenceRotate(const Bgr24Image &source, float a)
{
    float b = a;
    if (b > 180)
        b = b - 180;
    if (b > 90)
        b = 180 - b;
    double rb = b * 3.141592653589793 / 180;
    int width = int(std::cos(rb) * source.width + std::sin(rb) * source.height);
    int height = int(std::sin(rb) * source.width + std::cos(rb) * source.height);
    Bgr24Image dst(width, height);
    int halfW = (width + 1) / 2;
    int halfH = (height + 1) / 2;
    float t = float(a * 3.141592653589793 / 180);
    float c = std::cos(t);
    float s = std::sin(t);
    for (int i = -halfH; i <= halfH - 1; ++i)
        for (int j = -halfW; j <= halfW; ++j) {
            float x = c * j - s * i;
            float y = s * j + c * i;
            paintSample(source, x, y, dst, halfW + j, halfH + i);
        }
    return dst;
}

} // namespace queldo::test
