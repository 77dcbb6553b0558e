// Problem bitmaps and the size-preview sample, as the program meets them: a file read from disk
// with every check of ours, decoded, near-grey folded, then drawn as a piece on the board (scaled,
// turned, reduced to its palette) and upright as in the answer and the preview.
#include "FuzzSupport.h"
#include "core/board/Bgr24Image.h"
#include "core/board/ChromosomeBitmapOps.h"

#include <QFile>

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = fuzz::scratch().filePath(QStringLiteral("1-1.bmp"));
    {
        QFile file(path);
        fuzz::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                          file.write(reinterpret_cast<const char *>(data), qint64(size)) ==
                              qint64(size),
                      "the scratch folder takes the picture");
    }
    const BitmapDecodeResult result = readBitmapFile(path);
    if (!result.ok()) {
        fuzz::require(!result.error.isEmpty() && result.image.isNull(),
                      "a refused picture says why and has no pixels");
        return 0;
    }
    const Bgr24Image &image = result.image;
    fuzz::require(!image.isNull(), "a loaded picture has pixels");
    fuzz::require(image.width <= MaximumBitmapSide && image.height <= MaximumBitmapSide,
                  "no picture beyond the largest side is decoded");
    fuzz::require(image.bytes.size() == std::size_t(image.width) * image.height * 3,
                  "the pixel buffer matches the picture");

    // The board's scale lies between 0.7 x 0.7 x 0.9 and 0.7 x 1.3 x 0.9 for real problems; the
    // rotation steps are 15 degrees. Both are drawn from the size, to reach every step.
    const float scale = 0.44f + 0.04f * float(size % 11);
    const int step = int(size % 24);
    const QImage piece = renderPiece(image, scale, step);
    fuzz::require(piece.format() == QImage::Format_Indexed8 || piece.isNull(),
                  "a piece is drawn in its palette");
    const QImage upright = renderUpright(image, scale);
    fuzz::require(upright.isNull() ||
                      (upright.width() <= image.width && upright.height() <= image.height),
                  "an upright picture scaled down is no larger than its source");
    return 0;
}
