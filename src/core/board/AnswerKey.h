#pragma once

#include "core/board/Karyogram.h"

#include <QString>

namespace queldo {

/// Verdict of one karyogram place.
enum SlotResultCode : int {
    SlotTurnedTooFar = -2, ///< the right chromosome, not upright
    SlotEmpty = -1,
    SlotWrong = 0,
    SlotCorrect = 1, ///< the right chromosome, upright
};

/// Class of a piece: 1 to 22 for the autosomes, 23 for the sex chromosomes.
inline int ChromosomeNumber(int piece)
{
    return piece / 2 + 1;
}

/// "X" or "Y" for the sex pieces, the decimal class for the others.
QString pieceName(int piece, bool female);
/// The caption of a place: its class, "X" for place 44 and "XY" for place 45.
QString placeName(int place);

/// Whether a piece belongs in a place.
bool belongsIn(int piece, int place, bool female);
/// Within 30 degrees counter-clockwise or 45 degrees clockwise of upright.
bool isUpright(int rotationStep);
/// The verdict for a place holding piece (or -1).
SlotResultCode slotVerdict(int place, int piece, int rotationStep, bool female);

/// Label text of a place in reference mode: the place name, and for an occupied place two
/// blanks and the name of the chromosome lying there.
QString ReferenceLabel(int place, int piece, bool female);

} // namespace queldo
