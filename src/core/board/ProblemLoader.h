#pragma once

#include "core/board/Bgr24Image.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <array>

namespace queldo {

inline constexpr int PieceCount = 46;
inline constexpr int RowMargin = 2;

/// The 46 pictures of one cell, as read from its folder.
struct LoadedProblem
{
    QString name;
    QStringList checkValueList;
    std::array<Bgr24Image, PieceCount> sourceBitmaps;
    int greatestHeight = 0;
    /// Bitmaps whose stored check value does not match the file; kept for diagnosis only.
    QList<int> checkValueMismatches;
};

struct LoadProblemResult
{
    LoadedProblem problem;
    QString error; ///< the message for the trainee; empty on success
    bool ok() const { return error.isEmpty(); }
};

/// File name of a piece's bitmap: "k-1.bmp" for even pieces, "k-2.bmp" for odd ones.
QString bitmapFileName(int piece);

/// The check value of a bitmap file: its byte count after the first five bytes, modulo 83.
int checkValueOf(qint64 fileSize);

/// Reads the problem's check-value list and its 46 bitmaps. Nothing is returned half-loaded:
/// on any error the result carries only the message.
LoadProblemResult LoadProblem(const QDir &imagesFolder, const QString &name);

/// Reads one bitmap of a problem again (a drop redraws its piece from the file).
BitmapDecodeResult reloadSourceBitmap(const QDir &imagesFolder, const QString &name, int piece);

/// What the scale computation needs from the board's geometry and the size setting.
struct ScaleInputs
{
    int firstRowHeight = 0;
    /// Widths of the first place of each row: places 0, 10, 24 and 36.
    std::array<int, 4> rowReferenceWidths{};
    int trackBarPosition = 10;
    int customScale = 0;
};

struct ScaleResult
{
    float baseScale = 0.7f;
    float effectiveScale = 1.0f;
    bool trackBarReset = false; ///< the size setting goes back to its middle position
};

/// The largest factor at which every chromosome fits its row, and the factor pieces are drawn at.
ScaleResult computeScale(const std::array<Bgr24Image, PieceCount> &bitmaps, const ScaleInputs &in);

/// The first and one-past-last piece of each karyogram row.
inline constexpr std::array<std::pair<int, int>, 4> RowPieceRanges = {
    std::pair{0, 10}, std::pair{10, 24}, std::pair{24, 36}, std::pair{36, 46}};

} // namespace queldo
