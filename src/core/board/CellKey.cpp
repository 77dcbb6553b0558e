#include "core/board/CellKey.h"

#include "core/board/ChromosomeId.h"

#include <algorithm>

namespace queldo {

CellKey CellKey::normal(bool female)
{
    CellKey key;
    for (int piece = 0; piece < PieceCount; ++piece)
        key.chromosome[std::size_t(piece)] = ChromosomeId::ofPiece(piece, female);
    key.female = female;
    return key;
}

CellKey CellKey::abnormal(const QList<int> &chromosomes)
{
    CellKey key;
    key.pieceCount = int(std::min<qsizetype>(chromosomes.size(), MostPieces));
    for (int piece = 0; piece < key.pieceCount; ++piece)
        key.chromosome[std::size_t(piece)] = chromosomes.at(piece);
    key.female = !chromosomes.contains(ChromosomeId::Y);
    key.sparePlaces = true;
    return key;
}

int CellKey::classOf(int piece) const
{
    if (piece < 0 || piece >= pieceCount)
        return 0;
    return std::min(chromosome[std::size_t(piece)], ChromosomeId::X) + 1;
}

int CellKey::piecesOfClass(int chromosomeClass) const
{
    int count = 0;
    for (int piece = 0; piece < pieceCount; ++piece)
        count += classOf(piece) == chromosomeClass ? 1 : 0;
    return count;
}

int CellKey::extraPiecesInRow(int row) const
{
    int extra = 0;
    for (int c = 1; c <= SexClass; ++c) {
        if (rowOfClass(c) == row)
            extra += std::max(piecesOfClass(c) - 2, 0);
    }
    return extra;
}

std::array<int, MostPieces> answerPlaces(const CellKey &key)
{
    std::array<int, MostPieces> places;
    places.fill(-1);
    std::array<bool, MostPlaces> taken{};
    const auto take = [&](int piece, std::initializer_list<int> choices) {
        for (int place : choices) {
            if (place < key.placeCount() && !taken[std::size_t(place)]) {
                taken[std::size_t(place)] = true;
                places[std::size_t(piece)] = place;
                return;
            }
        }
    };
    for (int piece = 0; piece < key.pieceCount; ++piece) {
        const int c = key.classOf(piece);
        const int spare = sparePlace(rowOfClass(c));
        if (c < SexClass)
            take(piece, {firstPlaceOfClass(c), firstPlaceOfClass(c) + 1, spare});
        else if (key.female)
            take(piece, {XPlace, XYPlace, spare});
        else if (key.chromosome[std::size_t(piece)] == ChromosomeId::Y)
            take(piece, {XYPlace, spare});
        else
            take(piece, {XPlace, spare});
    }
    return places;
}

QString cellKeyProblem(const CellKey &key)
{
    if (key.pieceCount < FewestPieces || key.pieceCount > MostPieces)
        return QStringLiteral("染色体の数 (%1) は扱えません。").arg(key.pieceCount);
    const std::array<int, MostPieces> places = answerPlaces(key);
    if (std::find(places.begin(), places.begin() + key.pieceCount, -1) !=
        places.begin() + key.pieceCount)
        return QStringLiteral("核型図に置き場所のない染色体があります。");
    return {};
}

} // namespace queldo
