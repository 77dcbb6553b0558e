#include "core/board/AnswerKey.h"

namespace queldo {

QString pieceName(int piece, bool female)
{
    if (piece == 44)
        return QStringLiteral("X");
    if (piece == 45)
        return female ? QStringLiteral("X") : QStringLiteral("Y");
    return QString::number(ChromosomeNumber(piece));
}

QString placeName(int place)
{
    if (place == 44)
        return QStringLiteral("X");
    if (place == 45)
        return QStringLiteral("XY");
    return QString::number(place / 2 + 1);
}

bool belongsIn(int piece, int place, bool female)
{
    if (piece < 0 || place < 0)
        return false;
    if (place < 44)
        return piece / 2 == place / 2;
    if (female)
        return piece == 44 || piece == 45;
    return piece == place;
}

bool isUpright(int step)
{
    return step == 0 || step == 1 || step == 2 || step == 21 || step == 22 || step == 23;
}

SlotResultCode slotVerdict(int place, int piece, int rotationStep, bool female)
{
    if (piece < 0)
        return SlotEmpty;
    if (!belongsIn(piece, place, female))
        return SlotWrong;
    return isUpright(rotationStep) ? SlotCorrect : SlotTurnedTooFar;
}

QString ReferenceLabel(int place, int piece, bool female)
{
    if (piece < 0)
        return placeName(place);
    return placeName(place) + QStringLiteral("  ") + pieceName(piece, female);
}

} // namespace queldo
