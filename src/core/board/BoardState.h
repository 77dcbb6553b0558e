#pragma once

#include "core/board/AnswerKey.h"
#include "core/board/Karyogram.h"
#include "core/board/ProblemLoader.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>

namespace queldo {

/// The cell being sorted: where every piece lies, how it is turned and how it is drawn.
/// Geometry is in the coordinates of the piece's container: the spread, or its place.
/// The containers hold the largest cell; a normal cell uses the first 46 of each.
struct BoardState
{
    std::array<int, MostPlaces> SlotContents;   ///< place -> piece, -1 empty
    std::array<int, MostPieces> RotationStep{}; ///< 0..23 steps of 15 degrees
    int SelectedPiece = -1;
    std::array<QPoint, MostPieces> PieceCentre{};
    int PiecesMovable = 0;
    /// Drag mode of all pieces: automatic (a press and a move picks one up) or manual.
    bool dragAutomatic = false;

    std::array<QRect, MostPieces> pieceRect{};
    std::array<QImage, MostPieces> piecePicture{};
    std::array<bool, MostPieces> pieceVisible{};

    /// The pieces and places of the cell on the board (CellKey's counts).
    int pieceCount = PieceCount;
    int placeCount = SlotCount;

    BoardState() { SlotContents.fill(-1); }

    /// The place holding the piece, or -1 when it lies on the spread.
    int placeOf(int piece) const;
    void clearSlots() { SlotContents.fill(-1); }
};

/// Everything a deal draws from the random generator.
class PieceRandom
{
public:
    virtual ~PieceRandom() = default;
    /// A whole number from low up to high, exclusive (high > low).
    virtual int bounded(int low, int high) = 0;
    /// A deal starts afresh from the clock; fixed generators in tests leave this alone.
    virtual void reseedFromTicks() {}
};

/// Draws from bound-size random positions as the deal needs them: 0 up to bound, or bound up to 0
/// when the bound is negative, and 0 when it is 0.
int drawOffset(PieceRandom &random, int bound);

/// Turns the board's pieces at random (steps 0 to 22), renders them at the given scale and
/// scatters them over a spread of the given size. Every piece ends up visible on the spread.
void DealPieces(BoardState &board, const SourceBitmaps &sources, float scale, QSize spreadSize,
                PieceRandom &random);

} // namespace queldo
