#include "core/board/AnswerKey.h"

#include "core/board/ChromosomeId.h"

#include <vector>

namespace queldo {

QString pieceName(int piece, bool female)
{
    return pieceName(piece, CellKey::normal(female));
}

QString pieceName(int piece, const CellKey &key)
{
    if (piece < 0 || piece >= key.pieceCount)
        return {};
    return ChromosomeId::name(key.chromosome[std::size_t(piece)]);
}

QString placeName(int place)
{
    if (place >= SlotCount)
        return QStringLiteral("+");
    if (place == XPlace)
        return QStringLiteral("X");
    if (place == XYPlace)
        return QStringLiteral("XY");
    return QString::number(pairClass(place));
}

bool belongsIn(int piece, int place, bool female)
{
    return belongsIn(piece, place, CellKey::normal(female));
}

bool belongsIn(int piece, int place, const CellKey &key)
{
    if (piece < 0 || piece >= key.pieceCount || place < 0 || place >= key.placeCount())
        return false;
    const int c = key.classOf(piece);
    if (place >= SlotCount)
        return rowOfClass(c) == place - SlotCount && key.piecesOfClass(c) > 2;
    if (place < XPlace)
        return c == pairClass(place);
    if (c != SexClass)
        return false;
    if (key.female)
        return true;
    const bool y = key.chromosome[std::size_t(piece)] == ChromosomeId::Y;
    return place == XYPlace ? y : !y;
}

bool isUpright(int step)
{
    return step == 0 || step == 1 || step == 2 || step == 21 || step == 22 || step == 23;
}

SlotResultCode slotVerdict(int place, int piece, int rotationStep, bool female)
{
    return slotVerdict(place, piece, rotationStep, CellKey::normal(female));
}

SlotResultCode slotVerdict(int place, int piece, int rotationStep, const CellKey &key)
{
    if (piece < 0)
        return SlotEmpty;
    if (!belongsIn(piece, place, key))
        return SlotWrong;
    return isUpright(rotationStep) ? SlotCorrect : SlotTurnedTooFar;
}

std::array<int, MostPlaces> cellVerdicts(const std::array<int, MostPlaces> &slotContents,
                                         const std::array<int, MostPieces> &rotationSteps,
                                         const CellKey &key)
{
    std::array<int, MostPlaces> codes{};
    for (int s = 0; s < key.placeCount(); ++s) {
        const int piece = slotContents[std::size_t(s)];
        const int step = piece >= 0 && piece < MostPieces ? rotationSteps[std::size_t(piece)] : 0;
        codes[std::size_t(s)] = slotVerdict(s, piece, step, key);
    }
    // Places and how many chromosomes the cell puts there; the rest of them stay empty.
    const auto leaveEmpty = [&](std::vector<int> places, int expected) {
        int spare = int(places.size()) - expected;
        for (auto it = places.rbegin(); it != places.rend() && spare > 0; ++it) {
            if (codes[std::size_t(*it)] == SlotEmpty) {
                codes[std::size_t(*it)] = SlotRightlyEmpty;
                --spare;
            }
        }
    };
    for (int c = 1; c <= SexClass; ++c) {
        const int first = firstPlaceOfClass(c);
        leaveEmpty({first, first + 1}, std::min(key.piecesOfClass(c), 2));
    }
    if (key.sparePlaces) {
        for (int row = 0; row < RowCount; ++row)
            leaveEmpty({sparePlace(row)}, std::min(key.extraPiecesInRow(row), 1));
    }
    return codes;
}

QString ReferenceLabel(int place, int piece, bool female)
{
    return ReferenceLabel(place, piece, CellKey::normal(female));
}

QString ReferenceLabel(int place, int piece, const CellKey &key)
{
    if (piece < 0)
        return placeName(place);
    return placeName(place) + QStringLiteral("  ") + pieceName(piece, key);
}

} // namespace queldo
