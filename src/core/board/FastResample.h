#pragma once

// The inner loops of scaling, turning and reducing pictures, in two builds: vector code chosen
// at run time for the processor, and portable code. Both compute exactly the sampling rule of
// ChromosomeBitmapOps.cpp, which prepares the per-column and per-row tables they read.

#include <cstddef>
#include <cstdint>

namespace queldo::fast {

/// Bytes that must be readable after the last pixel of a grey plane given to the kernels:
/// they fetch whole vectors around a pixel.
inline constexpr int PlanePadding = 64;

/// Pixels the kernels read: a grey plane (1 byte a pixel, followed by PlanePadding bytes) or
/// blue, green, red (3 bytes a pixel).
struct PixelSource
{
    const std::uint8_t *data = nullptr;
    std::ptrdiff_t stride = 0;
    int pixelBytes = 3;
    int width = 0;
    int height = 0;
};

/// Where the kernels write: pixelBytes 1 gives one grey byte a pixel, 3 gives blue, green, red.
/// Pixels the kernels do not reach are left as they are: callers fill the picture with white.
struct PixelTarget
{
    std::uint8_t *data = nullptr;
    std::ptrdiff_t stride = 0;
    int pixelBytes = 3;
};

/// Table padding: every table may be read a whole vector past its last used entry.
inline constexpr int TablePadding = 64;

/// Scaling, split into its horizontal and vertical mix: top and bottom of a pixel are the same
/// product sums as the horizontal mix of source rows sy and sy + 1, so each source row is mixed
/// once and reused by the output rows that share it.
struct ScaleJob
{
    PixelSource source;
    int channels = 1; ///< 1 when the source is grey: one channel computed and copied to three
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
    int channels = 1;
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
void scale(const ScaleJob &job, bool portable);
void rotate(const RotateJob &job, bool portable);

/// Name of the instruction set the vector code runs with on this processor.
const char *vectorTargetName();

namespace portable {
bool greyPlane(const std::uint8_t *bgr, std::size_t pixels, std::uint8_t *plane);
void scale(const ScaleJob &job);
void rotate(const RotateJob &job);
} // namespace portable

} // namespace queldo::fast
