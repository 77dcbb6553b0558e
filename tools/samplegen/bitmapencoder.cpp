#include "bitmapencoder.h"

#include <QBuffer>
#include <QtEndian>

int BitmapEncoder::bitsPerPixel(const QByteArray &bmp)
{
    if (bmp.size() < 30 || !bmp.startsWith("BM"))
        return 0;
    return qFromLittleEndian<quint16>(bmp.constData() + 28);
}

QByteArray BitmapEncoder::encode(const QImage &image, QString *error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Qt writes anything deeper than 8 bits as 24-bit BGR; a grey-scale format
    // would come out as an 8-bit palette image, which the reader rejects.
    QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    // The default resolution depends on the kind of application object; pin
    // it so the same seed gives the same bytes from every caller.
    rgb.setDotsPerMeterX(3780);
    rgb.setDotsPerMeterY(3780);
    if (!rgb.save(&buffer, "BMP")) {
        *error = QStringLiteral("cannot encode BMP");
        return {};
    }
    if (bitsPerPixel(bytes) != 24) {
        *error =
            QStringLiteral("BMP came out with %1 bits per pixel, not 24").arg(bitsPerPixel(bytes));
        return {};
    }
    return bytes;
}
