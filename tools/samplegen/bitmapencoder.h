#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Encodes chromosome pictures as the 24-bit BMP files the problem folders use.
class BitmapEncoder
{
public:
    // Empty on failure, with the reason in *error.
    static QByteArray encode(const QImage &image, QString *error);

    static int bitsPerPixel(const QByteArray &bmp);
};
