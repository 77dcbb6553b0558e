#include "core/board/NearGrey.h"

#include <algorithm>

namespace queldo {

bool foldNearGrey(Bgr24Image &image)
{
    bool exactGrey = true;
    for (std::size_t i = 0; i + 2 < image.bytes.size(); i += 3) {
        const auto [low, high] =
            std::minmax({image.bytes[i], image.bytes[i + 1], image.bytes[i + 2]});
        if (high - low > NearGreySpread)
            return false;
        exactGrey = exactGrey && low == high;
    }
    if (exactGrey)
        return true;
    for (std::size_t i = 0; i + 2 < image.bytes.size(); i += 3) {
        const int sum = image.bytes[i] + image.bytes[i + 1] + image.bytes[i + 2];
        const auto grey = std::uint8_t((sum + 1) / 3);
        image.bytes[i] = image.bytes[i + 1] = image.bytes[i + 2] = grey;
    }
    return true;
}

} // namespace queldo
