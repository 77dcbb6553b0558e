#include "HostileFixture.h"

#include "core/app/PasswordFile.h"

namespace queldo::test {

namespace {

void put(QByteArray &bytes, int offset, quint32 value, int size)
{
    for (int k = 0; k < size; ++k)
        bytes[offset + k] = char((value >> (8 * k)) & 0xff);
}

// File header and a 40-byte info header; the caller appends palette and pixels.
QByteArray headers(qint32 width, qint32 height, int bitsPerPixel, quint32 compression,
                   int paletteEntries)
{
    QByteArray bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(bytes, 10, quint32(54 + 4 * paletteEntries), 4);
    put(bytes, 14, 40, 4);
    put(bytes, 18, quint32(width), 4);
    put(bytes, 22, quint32(height), 4);
    put(bytes, 26, 1, 2);
    put(bytes, 28, quint32(bitsPerPixel), 2);
    put(bytes, 30, compression, 4);
    put(bytes, 46, quint32(paletteEntries), 4);
    return bytes;
}

QByteArray pixelRow(const Bgr24Image &image, int y)
{
    QByteArray row(reinterpret_cast<const char *>(image.row(y)), qsizetype(image.stride()));
    row.append((4 - row.size() % 4) % 4, '\0');
    return row;
}

QByteArray withFileSize(QByteArray bytes)
{
    put(bytes, 2, quint32(bytes.size()), 4);
    return bytes;
}

} // namespace

QByteArray bmpBytes(const Bgr24Image &image)
{
    QByteArray bytes = headers(image.width, image.height, 24, 0, 0);
    for (int y = image.height - 1; y >= 0; --y)
        bytes += pixelRow(image, y);
    return withFileSize(bytes);
}

QByteArray topDownBmpBytes(const Bgr24Image &image)
{
    QByteArray bytes = headers(image.width, -image.height, 24, 0, 0);
    for (int y = 0; y < image.height; ++y)
        bytes += pixelRow(image, y);
    return withFileSize(bytes);
}

QByteArray rle8BmpBytes(int width, int height, const QByteArray &codes)
{
    QByteArray bytes = headers(width, height, 8, 1, 256);
    for (int i = 0; i < 256; ++i)
        bytes += QByteArray(3, char(i)) + '\0';
    return withFileSize(bytes + codes);
}

QByteArray rle8WithSkippedPixels()
{
    // Row 0: two pixels of 40, then jump 3 right and 2 up; row 2: one pixel, end of line;
    // end of picture with two rows never touched.
    return rle8BmpBytes(8, 5,
                        QByteArray::fromHex("0228"
                                            "00020302"
                                            "0150"
                                            "0000"
                                            "0001"));
}

QByteArray rle8Bomb()
{
    return rle8BmpBytes(5792, 5792, QByteArray::fromHex("0001"));
}

QByteArray passwordFileWithCost(const QString &password, quint64 memoryKiB, quint64 passes)
{
    QByteArray line = hashPassword(password).toLatin1();
    line.replace("m=65536,t=2,",
                 "m=" + QByteArray::number(memoryKiB) + ",t=" + QByteArray::number(passes) + ",");
    return line + "\r\n";
}

} // namespace queldo::test
