#pragma once

// The inner loops of scaling, turning and reducing pictures, in two builds: vector code chosen
// at run time for the processor, and portable code. Both compute exactly the sampling rule of
// ChromosomeBitmapOps.cpp, which prepares the per-column and per-row tables they read.
//
// The kernels read pictures as planes of one byte a pixel: one plane for a grey picture, three
// (blue, green, red) for a colour one. Splitting once up front lets every later step work on
// whole vectors of one channel, and lets a colour piece stay in planes from its source to its
// 8-bit picture.

#include <cstddef>
#include <cstdint>

namespace queldo::fast {

/// Bytes that must be readable after the last pixel of every plane given to the kernels: they
/// fetch whole vectors around a pixel.
inline constexpr int PlanePadding = 64;

/// The colour palette is a cube of 6 x 7 x 6 levels (red, green, blue); exact white, and only
/// exact white, takes the entry after it.
inline constexpr int CubeWhiteIndex = 6 * 7 * 6;

/// Palette entry of a colour pixel.
inline int cubeIndex(int b, int g, int r)
{
    if ((b & g & r) == 255)
        return CubeWhiteIndex;
    return ((r + 25) / 51 * 7 + (g * 6 + 127) / 255) * 6 + (b + 25) / 51;
}

/// Pixels the kernels read: channels planes (1 grey, 3 blue, green, red), planeStep bytes
/// apart, each followed by PlanePadding readable bytes.
struct PixelSource
{
    const std::uint8_t *data = nullptr;
    std::ptrdiff_t stride = 0;
    std::ptrdiff_t planeStep = 0;
    int channels = 1;
    int width = 0;
    int height = 0;

    const std::uint8_t *plane(int c) const { return data + c * planeStep; }
};

enum class TargetForm {
    Planes,   ///< a byte a pixel in as many planes as the source has, planeStep apart
    Bgr,      ///< blue, green, red; a grey source's level three times
    CubeIndex ///< colour sources: the palette entry of each pixel (cubeIndex)
};

/// Where the kernels write. Pixels the kernels do not reach are left as they are: callers fill
/// the picture with white beforehand (255, or CubeWhiteIndex).
/// The kernels write rows top to bottom and may write white past a row's last pixel, over
/// pixels that are white or written later, as long as it stays within size bytes from data;
/// size counts the first plane with its padding, and every later plane has as much room.
struct PixelTarget
{
    std::uint8_t *data = nullptr;
    std::ptrdiff_t stride = 0;
    std::ptrdiff_t planeStep = 0;
    TargetForm form = TargetForm::Planes;
    std::ptrdiff_t size = 0;
};

/// Table padding: every table may be read a whole vector past its last used entry.
inline constexpr int TablePadding = 64;

/// Scaling, split into its horizontal and vertical mix: top and bottom of a pixel are the same
/// product sums as the horizontal mix of source rows sy and sy + 1, so each source row is mixed
/// once and reused by the output rows that share it.
struct ScaleJob
{
    PixelSource source;
    PixelTarget target;
    /// Output columns [firstColumn, endColumn) and rows [firstRow, endRow) reach the source;
    /// the tables are indexed from the first of them.
    int firstColumn = 0, endColumn = 0, firstRow = 0, endRow = 0;
    const std::int32_t *columnSource = nullptr; ///< sx
    const float *columnFraction = nullptr;      ///< fx
    const float *columnRest = nullptr;          ///< 1 - fx
    const std::int32_t *rowSource = nullptr;    ///< sy
    const float *rowFraction = nullptr;         ///< fy
    const float *rowRest = nullptr;             ///< 1 - fy
};

/// Turning: x = columnX - rowX and y = columnY + rowY are one float operation a pixel, the
/// products themselves taken from the tables.
struct RotateJob
{
    PixelSource source;
    PixelTarget target;
    int rows = 0;
    const float *columnX = nullptr; ///< cos * j for every output column
    const float *columnY = nullptr; ///< sin * j
    const float *rowX = nullptr;    ///< sin * i for every output row
    const float *rowY = nullptr;    ///< cos * i
    /// Columns [rowBegin, rowEnd) of each row may reach the source; every other column cannot.
    const int *rowBegin = nullptr;
    const int *rowEnd = nullptr;
};

/// Copies the blue byte of every pixel to plane, the grey level of a grey picture, and tells
/// whether the pixels are grey (blue, green and red alike) throughout.
bool greyPlane(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *plane, bool portable);

/// Splits blue, green, red into three planes planeStep bytes apart, and tells whether the
/// pixels are grey throughout.
bool splitPlanes(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *planes,
                 std::ptrdiff_t planeStep, bool portable);

/// Palette entries of n pixels given as blue, green and red rows; true when any of them is not
/// grey.
bool cubeIndexes(const std::uint8_t *b, const std::uint8_t *g, const std::uint8_t *r, int n,
                 std::uint8_t *index, bool portable);

/// Both return, for a CubeIndex target, whether any pixel written is not grey; false otherwise.
bool scale(const ScaleJob &job, bool portable);
bool rotate(const RotateJob &job, bool portable);

/// Name of the instruction set the vector code runs with on this processor.
const char *vectorTargetName();

namespace portable {
bool greyPlane(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *plane);
bool splitPlanes(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *planes,
                 std::ptrdiff_t planeStep);
bool cubeIndexes(const std::uint8_t *b, const std::uint8_t *g, const std::uint8_t *r, int n,
                 std::uint8_t *index);
bool scale(const ScaleJob &job);
bool rotate(const RotateJob &job);
} // namespace portable

} // namespace queldo::fast
