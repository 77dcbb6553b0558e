#include "core/board/Bgr24Image.h"

#include "core/board/NearGrey.h"
#include "core/text/RegularFile.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstring>
#include <optional>

namespace queldo {

Bgr24Image Bgr24Image::fromQImage(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Bgr24Image out(rgb.width(), rgb.height());
    for (int y = 0; y < out.height; ++y) {
        const uchar *src = rgb.constScanLine(y);
        std::uint8_t *dst = out.row(y);
        for (int x = 0; x < out.width; ++x) {
            dst[3 * x + 0] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x + 0];
        }
    }
    return out;
}

QImage Bgr24Image::toQImage() const
{
    QImage out(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *src = row(y);
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < width; ++x) {
            dst[3 * x + 0] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x + 0];
        }
    }
    return out;
}

namespace {

quint32 littleEndian(const QByteArray &bytes, int offset, int size)
{
    quint32 value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = (value << 8) | quint8(bytes.at(offset + k));
    return value;
}

constexpr int FileHeaderSize = 14;
constexpr int CoreHeaderSize = 12; // the oldest form, 16-bit sizes
constexpr int InfoHeaderSize = 40; // the usual one
constexpr int V4HeaderSize = 108;
constexpr int V5HeaderSize = 124;
constexpr quint32 Uncompressed = 0;
constexpr quint32 BitFields = 3;

// What the headers of a bitmap declare, read by us before any decoding, so that a picture is
// judged by what it claims to be rather than by what the decoder makes of it.
struct DeclaredBitmap
{
    qint64 width = 0;
    qint64 height = 0; ///< rows, whichever way they run
    int bitsPerPixel = 0;
    quint32 compression = Uncompressed;
    qint64 pixelDataStart = 0;
};

std::optional<DeclaredBitmap> readHeaders(const QByteArray &bytes)
{
    if (bytes.size() < FileHeaderSize + CoreHeaderSize || !bytes.startsWith("BM"))
        return std::nullopt;
    const quint32 headerSize = littleEndian(bytes, 14, 4);
    DeclaredBitmap declared;
    qint64 colourEntrySize = 4;
    qint64 colourCount = 0;
    if (headerSize == CoreHeaderSize) {
        declared.width = qint16(littleEndian(bytes, 18, 2));
        declared.height = qint16(littleEndian(bytes, 20, 2));
        declared.bitsPerPixel = int(littleEndian(bytes, 24, 2));
        colourEntrySize = 3;
    } else if (headerSize == InfoHeaderSize || headerSize == V4HeaderSize ||
               headerSize == V5HeaderSize) {
        if (bytes.size() < FileHeaderSize + InfoHeaderSize)
            return std::nullopt;
        declared.width = qint32(littleEndian(bytes, 18, 4));
        declared.height = qint32(littleEndian(bytes, 22, 4));
        declared.bitsPerPixel = int(littleEndian(bytes, 28, 2));
        declared.compression = littleEndian(bytes, 30, 4);
        colourCount = littleEndian(bytes, 46, 4);
    } else {
        return std::nullopt; // a header of no bitmap we read
    }
    // A top-down bitmap gives its height as a negative number.
    declared.height = declared.height < 0 ? -declared.height : declared.height;
    if (declared.bitsPerPixel <= 8 && colourCount == 0)
        colourCount = qint64(1) << std::clamp(declared.bitsPerPixel, 0, 8);
    if (declared.bitsPerPixel > 8)
        colourCount = 0;
    // The pixels cannot begin before the colour table ends, whatever the file header's offset says.
    const qint64 headerEnd =
        FileHeaderSize + (headerSize >= V4HeaderSize ? InfoHeaderSize : qint64(headerSize));
    declared.pixelDataStart =
        std::max<qint64>(littleEndian(bytes, 10, 4), headerEnd + colourCount * colourEntrySize);
    return declared;
}

} // namespace

BitmapDecodeResult decodeBitmap(const QByteArray &fileBytes, const QString &name)
{
    BitmapDecodeResult result;
    const std::optional<DeclaredBitmap> declared = readHeaders(fileBytes);
    if (!declared || declared->width <= 0 || declared->height <= 0) {
        result.error = QStringLiteral("画像 %1 が読めません。").arg(name);
        return result;
    }
    // Checked before decoding, whatever the compression: a header of a few bytes must not make
    // us allocate and fill a picture of a size out of all proportion to any chromosome.
    if (declared->width > MaximumBitmapSide || declared->height > MaximumBitmapSide) {
        result.error = QStringLiteral("画像 %1 が大きすぎます。(%2 x %3)")
                           .arg(name)
                           .arg(declared->width)
                           .arg(declared->height);
        return result;
    }
    // Run-length coded bitmaps may skip pixels, which the decoder then leaves unset: the same
    // file could show differently from one load to the next. Problem pictures are never coded.
    if (declared->compression != Uncompressed && declared->compression != BitFields) {
        result.error =
            QStringLiteral("画像 %1 は圧縮されたビットマップのため読めません。").arg(name);
        return result;
    }
    // The decoder accepts pixel rows cut short and leaves the missing ones unset; a problem
    // picture with missing rows is broken.
    const qint64 stride = ((declared->width * declared->bitsPerPixel + 31) / 32) * 4;
    if (declared->pixelDataStart + stride * declared->height > fileBytes.size()) {
        result.error = QStringLiteral("画像 %1 が壊れています。").arg(name);
        return result;
    }

    QBuffer buffer;
    buffer.setData(fileBytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.width() != declared->width ||
        image.height() != declared->height) {
        result.error = QStringLiteral("画像 %1 が読めません。(%2)").arg(name, reader.errorString());
        return result;
    }
    result.image = Bgr24Image::fromQImage(image);
    return result;
}

BitmapDecodeResult readBitmapFile(const QString &path)
{
    const FileBytes file = readRegularFile(path, MaximumBitmapFileBytes);
    if (!file.ok())
        return {{}, file.error};
    BitmapDecodeResult result = decodeBitmap(file.bytes, path);
    foldNearGrey(result.image);
    return result;
}

} // namespace queldo
