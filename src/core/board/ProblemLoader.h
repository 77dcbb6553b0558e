#pragma once

#include "core/board/Bgr24Image.h"
#include "core/board/Karyogram.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <array>

namespace queldo {

inline constexpr int RowMargin = 2;

/// The 46 pictures of one cell, as read from its folder.
struct LoadedProblem
{
    QString name;
    QStringList CheckValueList;
    std::array<Bgr24Image, PieceCount> SourceBitmap;
};

struct LoadProblemResult
{
    LoadedProblem problem;
    QString error; ///< the message for the trainee; empty on success
    bool ok() const { return error.isEmpty(); }
};

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
    int CustomScale = 0;
};

struct ScaleResult
{
    float BaseScale = 0.7f;
    float EffectiveScale = 1.0f;
    bool trackBarReset = false; ///< the size setting goes back to its middle position
};

/// The largest factor at which every chromosome fits its row, and the factor pieces are drawn at.
ScaleResult computeScale(const std::array<Bgr24Image, PieceCount> &bitmaps, const ScaleInputs &in);

} // namespace queldo
