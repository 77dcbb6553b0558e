#pragma once

#include "core/board/Bgr24Image.h"

namespace queldo::test {

/// The sampling rule written out as plainly as possible, pixel by pixel: the oracle that the
/// program's own routines must match byte for byte.
Bgr24Image referenceScale(const Bgr24Image &source, float factor);
Bgr24Image referenceRotate(const Bgr24Image &source, float angleDegrees);

} // namespace queldo::test
