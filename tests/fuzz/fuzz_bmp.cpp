// Problem bitmaps and the size-preview sample, as read from disk.
#include "FuzzSupport.h"
#include "core/board/Bgr24Image.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const BitmapDecodeResult result =
        decodeBitmap(fuzz::bytesOf(data, size), QStringLiteral("1-1.bmp"));
    if (result.ok()) {
        const Bgr24Image &image = result.image;
        fuzz::require(!image.isNull(), "a loaded picture has pixels");
        fuzz::require(image.width <= MaximumBitmapSide && image.height <= MaximumBitmapSide,
                      "no picture beyond the largest side is decoded");
        fuzz::require(image.bytes.size() == std::size_t(image.width) * image.height * 3,
                      "the pixel buffer matches the picture");
    } else {
        fuzz::require(!result.error.isEmpty(), "a refused picture says why");
    }
    return 0;
}
