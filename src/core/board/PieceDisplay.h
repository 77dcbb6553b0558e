#pragma once

#include "core/board/Bgr24Image.h"

#include <QImage>
#include <QRegion>

namespace queldo {

/// How a rendered piece is shown on screen, beyond the bitmap rules: real photographed
/// cut-outs carry a near-white background that would draw a halo over coloured places and
/// other pieces, and a trainee should pick a piece up where it shows chromosome only. The
/// pictures used for scoring and printing stay as they are.

/// Grey and colour levels from this up on every channel count as background on screen.
inline constexpr int NearWhiteLevel = 235;

/// From this level up to NearWhiteLevel a pixel is the soft rim where a photographed
/// chromosome fades into its white background.
inline constexpr int FringeLevel = 200;

/// The piece with its near-white palette entries made fully transparent, and those of its pale
/// rim made to darken what lies below as they darken white: on white they look as before, and
/// over another piece or a coloured place a grey rim leaves no light outline, since it never
/// lightens anything.
QImage withNearWhiteTransparent(const QImage &piece);

/// Where a piece can be taken hold of: its visible pixels, grown by a few pixels so that thin
/// chromosomes stay easy to catch.
QRegion pickableRegion(const QImage &screenPicture, int grow = 2);

/// The longer side a loupe picture is enlarged to: a small chromosome of a real photograph
/// (chromosome 21 of some 25 pixels) then shows its bands at a readable height.
inline constexpr int LoupeLongerSide = 240;

/// The loupe's picture: the piece turned as it lies, enlarged smoothly to LoupeLongerSide on its
/// longer side and at least to twice its photographed size, shrunk only so that its longer side
/// stays within maxSide. Its levels are stretched so that the chromosome's darkest band is black
/// and its lightest white, which brings out the bands of a pale or dull photograph.
/// The trainee's own brightness and contrast on top of that, in steps from 0 (none).
struct LoupeTone
{
    int brightness = 0; ///< each step lifts every level of the chromosome by 16
    int contrast = 0;   ///< each step spreads the levels a quarter wider about mid-grey
};
QImage loupePicture(const Bgr24Image &source, int rotationStep, int maxSide, LoupeTone tone = {});
/// The loupe's picture at its photographed size: turned, its background transparent and its
/// levels stretched, ready to be enlarged.
QImage readablePicture(const Bgr24Image &source, int rotationStep, LoupeTone tone = {});

/// A half-transparent copy of a picture, as the piece follows the pointer while dragged.
QImage dragPicture(const QImage &screenPicture);

} // namespace queldo
