#pragma once

#include "core/board/BoardState.h"

#include <QColor>
#include <QString>

#include <array>

namespace queldo {

/// The verdict of every place of the board.
SlotCodes ScoreBoard(const BoardState &board, bool female);

/// Places judged correct and upright.
int CorrectCount(const SlotCodes &codes);

/// The scoring of a cell of either kind: a verdict per place, and the chromosomes placed
/// correctly and upright out of all the cell has.
struct CellScore
{
    std::array<int, MostPlaces> codes{}; ///< SlotResultCode of each place; placeCount are used
    int placeCount = SlotCount;
    int correct = 0;
    int chromosomes = PieceCount;

    /// The 46 codes of a normal cell, as its results record keeps them.
    SlotCodes normalCodes() const;
};

CellScore scoreCell(const BoardState &board, const CellKey &cell);

/// What one place shows after scoring.
struct SlotResultLook
{
    QColor colour;
    QString label;
};

inline const QColor ColourCorrect = QColor(0x66, 0xFF, 0xFF);     // light cyan
inline const QColor ColourMisoriented = QColor(0xCC, 0xFF, 0x66); // yellow-green
inline const QColor ColourWrong = QColor(0xFF, 0x66, 0x00);       // orange

/// Colour and label of place s for its code; referenceMode is the reference mode as scoring sees
/// it. A place rightly left empty shows the colour of a correct one.
SlotResultLook ShowSlotResults(int place, int code, int piece, bool female, bool referenceMode);
SlotResultLook ShowSlotResults(int place, int code, int piece, const CellKey &cell,
                               bool referenceMode);

} // namespace queldo
