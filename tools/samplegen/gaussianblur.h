#pragma once

#include <vector>

// Separable Gaussian blur; samples beyond the ends repeat the edge value.
namespace GaussianBlur {

void blurLine(std::vector<double> &values, double sigma);
void blurField(std::vector<float> &field, int width, int height, double sigma);

} // namespace GaussianBlur
