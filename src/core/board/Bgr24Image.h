#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace queldo {

/// A compact picture of 24 bits per pixel, rows packed top to bottom, bytes blue, green, red.
/// The pixel routines work on this buffer so that their arithmetic is exactly ours,
/// whatever QImage does internally.
struct Bgr24Image
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes; ///< width * height * 3

    Bgr24Image() = default;
    Bgr24Image(int w, int h) : width(w), height(h), bytes(std::size_t(w) * std::size_t(h) * 3, 255)
    {
    }

    bool isNull() const { return width <= 0 || height <= 0; }
    std::size_t stride() const { return std::size_t(width) * 3; }
    const std::uint8_t *row(int y) const { return bytes.data() + std::size_t(y) * stride(); }
    std::uint8_t *row(int y) { return bytes.data() + std::size_t(y) * stride(); }

    bool operator==(const Bgr24Image &other) const = default;

    static Bgr24Image fromQImage(const QImage &image);
    QImage toQImage() const;
};

/// Decodes a BMP held in memory. A picture that is broken, absurdly large or not a bitmap
/// gives an error text; other depths than 24 bits are converted.
struct BitmapDecodeResult
{
    Bgr24Image image;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// Largest side accepted from a problem bitmap; real chromosome pictures are a few hundred pixels.
inline constexpr int MaximumBitmapSide = 4096;
/// Largest bitmap file read: a picture of the largest accepted size at 32 bits per pixel, with
/// room for its headers.
inline constexpr qint64 MaximumBitmapFileBytes =
    qint64(MaximumBitmapSide) * MaximumBitmapSide * 4 + 65536;

BitmapDecodeResult decodeBitmap(const QByteArray &fileBytes, const QString &nameForMessages);

/// Reads a bitmap file and decodes it: the one way the program reads chromosome pictures (the
/// problem's bitmaps, a redrawn piece, the size preview's sample). A near-grey picture comes
/// back exactly grey (see NearGrey.h). Messages name the path. Anything but a regular file of a
/// plausible size is refused unread.
BitmapDecodeResult readBitmapFile(const QString &path);

} // namespace queldo
