#pragma once

#include "core/board/Bgr24Image.h"
#include "core/board/CellKey.h"
#include "core/board/Karyogram.h"
#include "core/karyotype/Karyotype.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace queldo {

inline constexpr int RowMargin = 2;

/// The pictures of a cell, piece by piece; a normal cell fills the first 46.
using SourceBitmaps = std::array<Bgr24Image, MostPieces>;

/// The pictures of one cell, as read from its folder.
struct LoadedProblem
{
    QString name;
    QStringList CheckValueList;
    SourceBitmaps SourceBitmap;
    /// What each picture shows and the places of its board.
    CellKey key = CellKey::normal(false);
    /// The file of each picture, for a drop that reads it again ("21-3.bmp").
    QStringList bitmapNames;
    /// The karyotype the trainee is asked to name: an abnormal problem's only.
    std::optional<Karyotype> karyotype;
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
BitmapDecodeResult reloadSourceBitmap(const QDir &imagesFolder, const LoadedProblem &problem,
                                      int piece);

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
/// A piece counts in the row of its class.
ScaleResult computeScale(const SourceBitmaps &bitmaps, const ScaleInputs &in,
                         const CellKey &key = CellKey::normal(false));

} // namespace queldo
