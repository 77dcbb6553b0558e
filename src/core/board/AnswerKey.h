#pragma once

#include "core/board/CellKey.h"
#include "core/board/Karyogram.h"

#include <QString>

#include <array>

namespace queldo {

/// Verdict of one karyogram place.
enum SlotResultCode : int {
    SlotTurnedTooFar = -2, ///< the right chromosome, not upright
    SlotEmpty = -1,
    SlotWrong = 0,
    SlotCorrect = 1, ///< the right chromosome, upright
    /// Empty, as it should be: a class the cell has fewer than two of, or a spare place with no
    /// extra chromosome in its row. Only the board of an abnormal cell has such places.
    SlotRightlyEmpty = 2,
};

/// "X" or "Y" for the sex pieces, the decimal class for the others.
QString pieceName(int piece, bool female);
QString pieceName(int piece, const CellKey &key);
/// The caption of a place: its class, "X" for place 44, "XY" for place 45 and "+" for a spare
/// place.
QString placeName(int place);

/// Whether a piece belongs in a place.
bool belongsIn(int piece, int place, bool female);
/// A spare place takes a piece of its row's classes when the cell has more than two of it.
bool belongsIn(int piece, int place, const CellKey &key);
/// Within 30 degrees counter-clockwise or 45 degrees clockwise of upright.
bool isUpright(int rotationStep);
/// The verdict for a place holding piece (or -1).
SlotResultCode slotVerdict(int place, int piece, int rotationStep, bool female);
SlotResultCode slotVerdict(int place, int piece, int rotationStep, const CellKey &key);

/// The verdicts of all places of a board, places beyond the key's count left at 0. Of the
/// empty places of a class the cell has fewer than two of (and of a spare place not needed),
/// as many as the cell leaves empty are SlotRightlyEmpty, the later places first.
std::array<int, MostPlaces> cellVerdicts(const std::array<int, MostPlaces> &slotContents,
                                         const std::array<int, MostPieces> &rotationSteps,
                                         const CellKey &key);

/// Label text of a place in reference mode: the place name, and for an occupied place two
/// blanks and the name of the chromosome lying there.
QString ReferenceLabel(int place, int piece, bool female);
QString ReferenceLabel(int place, int piece, const CellKey &key);

} // namespace queldo
