#pragma once

#include "core/board/Bgr24Image.h"

namespace queldo {

/// Photographed grey cells often reach us as colour files whose channels differ by a few steps
/// (saved through a colour camera or JPEG). Drawn as colour, such a picture would go through the
/// colour palette and lose its bands to a handful of tinted levels. A picture whose every pixel
/// keeps its channels within this spread is taken for grey.
inline constexpr int NearGreySpread = 8;

/// Turns a near-grey picture into exact grey (each pixel the rounded mean of its channels) and
/// returns true; leaves any other picture as it is.
bool foldNearGrey(Bgr24Image &image);

} // namespace queldo
