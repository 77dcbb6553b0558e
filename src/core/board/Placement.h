#pragma once

#include "core/board/BoardState.h"

#include <QSize>

#include <functional>
#include <vector>

namespace queldo {

/// What a drop needs to know beyond the board itself.
struct PlacementContext
{
    /// What the pieces are, for the labels of reference mode.
    CellKey cell = CellKey::normal(false);
    bool referenceMode = false;
    bool alignmentMode = false;
    float scale = 1.0f;
};

struct LabelUpdate
{
    int place;
    QString text;
};

struct DropOutcome
{
    bool accepted = false;
    std::vector<LabelUpdate> labels; ///< place labels to rewrite
};

/// Reads a piece's bitmap from its file again; a drop draws the piece afresh from it.
using BitmapReloader = std::function<BitmapDecodeResult(int piece)>;

/// A piece released over the karyogram. place is -1 when it was released outside the places.
/// Only an empty place takes it; the piece is redrawn (upright in alignment mode) and centred.
/// When the file can no longer be read the picture already in memory is used.
DropOutcome dropIntoPlace(BoardState &board, SourceBitmaps &sources, int piece, int place,
                          QSize placeSize, const PlacementContext &context,
                          const BitmapReloader &reload);

/// A piece released over the spread at pos: centred on the pointer, never past the right or
/// bottom edge. It keeps its picture and turn.
DropOutcome dropOnSpread(BoardState &board, int piece, QPoint pos, QSize spreadSize,
                         const PlacementContext &context);

/// Right-click: the piece is chosen for turning about its present centre.
void selectPiece(BoardState &board, int piece);

/// One wheel notch: turns the chosen piece by one step about its recorded centre.
/// Returns false when nothing turned (nothing chosen, or the pieces are not movable).
bool turnSelectedPiece(BoardState &board, const SourceBitmaps &sources, int wheelDelta,
                       float scale);

/// The pointer moved over the spread: leaving the chosen piece's square drops the choice.
void pointerOverSpread(BoardState &board, QPoint pos);

/// All labels as they read in reference mode (or plainly, when it is off).
std::vector<LabelUpdate> allPlaceLabels(const BoardState &board, bool female, bool referenceMode);
std::vector<LabelUpdate> allPlaceLabels(const BoardState &board, const CellKey &cell,
                                        bool referenceMode);
/// All labels as the settings dialog's OK leaves them: as allPlaceLabels, except that the XY
/// place reads "XY" unless alignment mode is on, even in reference mode with a piece there.
std::vector<LabelUpdate> settingsDialogLabels(const BoardState &board, bool female,
                                              bool referenceMode, bool alignmentMode);
std::vector<LabelUpdate> settingsDialogLabels(const BoardState &board, const CellKey &cell,
                                              bool referenceMode, bool alignmentMode);

} // namespace queldo
