#include "core/exercise/Scoring.h"

#include <algorithm>

namespace queldo {

SlotCodes ScoreBoard(const BoardState &board, bool female)
{
    SlotCodes codes{};
    for (int s = 0; s < SlotCount; ++s) {
        const int piece = board.SlotContents[std::size_t(s)];
        const int step = piece >= 0 ? board.RotationStep[std::size_t(piece)] : 0;
        codes[std::size_t(s)] = slotVerdict(s, piece, step, female);
    }
    return codes;
}

int CorrectCount(const SlotCodes &codes)
{
    return int(std::count(codes.begin(), codes.end(), int(SlotCorrect)));
}

SlotResultLook ShowSlotResults(int place, int code, int piece, bool female, bool referenceMode)
{
    SlotResultLook look;
    look.colour = code == SlotCorrect        ? ColourCorrect
                  : code == SlotTurnedTooFar ? ColourMisoriented
                                             : ColourWrong;
    const QString times = QStringLiteral(" × ");
    if (place < 45) {
        look.label = placeName(place);
        if (code == SlotWrong && referenceMode)
            look.label += times + pieceName(piece, female);
        return look;
    }
    // The XY place names what belongs there in this cell, except when nothing is told.
    const QString belongs = female ? QStringLiteral("X") : QStringLiteral("Y");
    switch (code) {
    case SlotCorrect:
    case SlotTurnedTooFar:
        look.label = belongs;
        break;
    case SlotEmpty:
        look.label = referenceMode ? belongs : QStringLiteral("XY");
        break;
    default:
        look.label =
            referenceMode ? belongs + times + pieceName(piece, female) : QStringLiteral("XY");
        break;
    }
    return look;
}

} // namespace queldo
