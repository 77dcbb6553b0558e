#include "core/board/Bgr24Image.h"

#include "core/board/NearGrey.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <cstring>

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

// Qt decodes a bitmap whose pixel rows are cut short without complaint, filling the rest;
// a problem picture with missing rows is broken, so the header is held against the file size.
bool pixelDataComplete(const QByteArray &bytes)
{
    if (bytes.size() < 54 || !bytes.startsWith("BM"))
        return true; // not ours to judge: the reader will refuse it
    const quint32 headerSize = littleEndian(bytes, 14, 4);
    if (headerSize < 40)
        return true;
    const qint64 offset = littleEndian(bytes, 10, 4);
    const qint64 width = qint32(littleEndian(bytes, 18, 4));
    const qint64 height = qint32(littleEndian(bytes, 22, 4));
    const qint64 bitsPerPixel = littleEndian(bytes, 28, 2);
    const quint32 compression = littleEndian(bytes, 30, 4);
    if (compression != 0 && compression != 3)
        return true;
    const qint64 stride = ((width * bitsPerPixel + 31) / 32) * 4;
    return offset + stride * (height < 0 ? -height : height) <= bytes.size();
}

} // namespace

BitmapDecodeResult decodeBitmap(const QByteArray &fileBytes, const QString &name)
{
    BitmapDecodeResult result;
    QBuffer buffer;
    buffer.setData(fileBytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        result.error = QStringLiteral("画像 %1 が読めません。").arg(name);
        return result;
    }
    // Checked before decoding, so a damaged header cannot make us allocate gigabytes.
    if (size.width() > MaximumBitmapSide || size.height() > MaximumBitmapSide) {
        result.error = QStringLiteral("画像 %1 が大きすぎます。(%2 x %3)")
                           .arg(name)
                           .arg(size.width())
                           .arg(size.height());
        return result;
    }
    if (!pixelDataComplete(fileBytes)) {
        result.error = QStringLiteral("画像 %1 が壊れています。").arg(name);
        return result;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        result.error = QStringLiteral("画像 %1 が読めません。(%2)").arg(name, reader.errorString());
        return result;
    }
    result.image = Bgr24Image::fromQImage(image);
    return result;
}

BitmapDecodeResult readBitmapFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("ファイル %1 を開けません。(%2)").arg(path, file.errorString())};
    // A chromosome bitmap is a few tens of kilobytes; anything this large is not one.
    if (file.size() > qint64(MaximumBitmapSide) * MaximumBitmapSide * 4)
        return {{}, QStringLiteral("ファイル %1 が大きすぎます。").arg(path)};
    BitmapDecodeResult result = decodeBitmap(file.readAll(), path);
    foldNearGrey(result.image);
    return result;
}

} // namespace queldo
