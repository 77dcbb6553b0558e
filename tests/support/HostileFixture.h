#pragma once

#include "core/board/Bgr24Image.h"

#include <QByteArray>

namespace queldo::test {

/// The bytes of a 24-bit bitmap as problem folders hold them: rows bottom-up, padded to four bytes.
QByteArray bmpBytes(const Bgr24Image &image);
/// The same picture stored top-down, which the header says with a negative height.
QByteArray topDownBmpBytes(const Bgr24Image &image);
/// An 8-bit run-length coded bitmap with a grey palette, the given codes after its headers.
QByteArray rle8BmpBytes(int width, int height, const QByteArray &codes);
/// A small run-length coded picture whose codes skip pixels (a jump and early ends of line),
/// leaving them to whatever the decoder's memory held.
QByteArray rle8WithSkippedPixels();
/// 1,080 bytes that declare a picture of 5792 x 5792 pixels.
QByteArray rle8Bomb();

/// A password file holding a hash of password whose stored cost says memoryKiB and passes.
QByteArray passwordFileWithCost(const QString &password, quint64 memoryKiB, quint64 passes);

} // namespace queldo::test
