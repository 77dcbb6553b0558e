#include "gaussianblur.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<double> kernel(double sigma)
{
    const int radius = std::max(1, int(std::ceil(3.0 * sigma)));
    std::vector<double> weights(2 * radius + 1);
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i) {
        weights[i + radius] = std::exp(-0.5 * (i * i) / (sigma * sigma));
        sum += weights[i + radius];
    }
    for (double &weight : weights)
        weight /= sum;
    return weights;
}

// Blurs count values spaced stride apart, starting at first.
template <typename T>
void blurStrided(T *first, int count, int stride, const std::vector<double> &weights,
                 std::vector<double> &scratch)
{
    const int radius = int(weights.size() / 2);
    scratch.resize(count);
    for (int i = 0; i < count; ++i) {
        double sum = 0.0;
        for (int k = -radius; k <= radius; ++k) {
            const int j = std::clamp(i + k, 0, count - 1);
            sum += weights[k + radius] * double(first[j * stride]);
        }
        scratch[i] = sum;
    }
    for (int i = 0; i < count; ++i)
        first[i * stride] = T(scratch[i]);
}

} // namespace

void GaussianBlur::blurLine(std::vector<double> &values, double sigma)
{
    if (sigma <= 0.0 || values.empty())
        return;
    std::vector<double> scratch;
    blurStrided(values.data(), int(values.size()), 1, kernel(sigma), scratch);
}

void GaussianBlur::blurField(std::vector<float> &field, int width, int height, double sigma)
{
    if (sigma <= 0.0 || field.empty())
        return;
    const std::vector<double> weights = kernel(sigma);
    std::vector<double> scratch;
    for (int y = 0; y < height; ++y)
        blurStrided(field.data() + y * width, width, 1, weights, scratch);
    for (int x = 0; x < width; ++x)
        blurStrided(field.data() + x, height, width, weights, scratch);
}
