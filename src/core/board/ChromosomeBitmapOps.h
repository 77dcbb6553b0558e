#pragma once

#include "core/board/Bgr24Image.h"

#include <QImage>

namespace queldo {

/// Size of the rotated picture's bounding box for a source of the given size.
QSize rotatedSize(int width, int height, float angleDegrees);

/// Resamples the source by factor around its centre. The result is trunc(W*f) wide and
/// trunc(H*f - 1) high. A factor that is not a finite number above zero gives an empty picture.
Bgr24Image ScaleChromosomeBitmap(const Bgr24Image &source, float factor);

/// Turns the source counter-clockwise by angleDegrees (0 up to 360) onto a white canvas sized to
/// the turned picture's bounding box.
Bgr24Image RotateChromosomeBitmap(const Bgr24Image &source, float angleDegrees);

/// Reduces a picture to 8 bits per pixel with a palette. Exact white keeps its own palette entry,
/// which is fully transparent; no other colour is mapped to white.
QImage reduceToIndexed8(const Bgr24Image &image);

/// The palette of grey pictures: 255 grey levels and a transparent white.
const QList<QRgb> &greyPiecePalette();

/// Scale, then rotate by step x 15 degrees, then reduce: how a piece is drawn on the board.
QImage renderPiece(const Bgr24Image &source, float scale, int rotationStep);

/// Scale alone, reduced for display: the upright pictures of the answer and the size preview.
QImage renderUpright(const Bgr24Image &source, float scale);

/// Keeps the routines above to their portable code, without vector instructions, as on a
/// processor that has none. The pictures are the same either way: this is for comparing the
/// two in tests and benchmarks.
void usePortablePixelCode(bool portable);

} // namespace queldo
