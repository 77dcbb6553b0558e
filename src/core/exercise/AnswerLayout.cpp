#include "core/exercise/AnswerLayout.h"

#include "core/board/AnswerKey.h"
#include "core/board/BoardLayout.h"

#include <algorithm>

namespace queldo {

namespace {

// The first class number of each row.
constexpr std::array<int, RowCount> RowFirstClass = {1, 6, 13, 19};

} // namespace

QSize answerWindowSize(QSize spread)
{
    return {std::max(spread.width() - 20, 0), std::max(spread.height(), 0)};
}

AnswerLayout answerLayout(QSize outputPanel, bool sparePlaces)
{
    AnswerLayout layout;
    const int w = std::max(outputPanel.width(), 0);
    const int h = std::max(outputPanel.height(), 0);
    for (int row = 0; row < RowCount; ++row)
        layout.rows[std::size_t(row)] = QRect(0, row * h / 4, w, h / 4);
    layOutPlaces(layout.places, w, h / 4, sparePlaces);
    for (QRect &place : layout.places)
        place.setWidth(std::max(place.width(), 0));
    return layout;
}

QString answerPlaceLabel(int place, bool female)
{
    if (place == 44)
        return QStringLiteral("X");
    if (place == 45)
        return female ? QStringLiteral("X") : QStringLiteral("Y");
    const int row = rowOfPlace(place);
    const int column = place - RowFirstPlace[std::size_t(row)];
    return QString::number(column / 2 + RowFirstClass[std::size_t(row)]);
}

QString answerPlaceLabel(int place, const CellKey &cell, int piece)
{
    if (place < SlotCount)
        return answerPlaceLabel(place, cell.female);
    return piece >= 0 ? pieceName(piece, cell) : placeName(place);
}

QPoint centredOffset(QSize place, QSize picture)
{
    return {(place.width() - picture.width()) / 2, (place.height() - picture.height()) / 2};
}

AnswerPicturePlacement placeWithIdeogram(QSize place, QSize picture, int ideogramLeft,
                                         int ideogramWidth)
{
    const int groupWidth = std::max(picture.width(), ideogramLeft + ideogramWidth);
    const QPoint at = centredOffset(place, QSize(groupWidth, picture.height()));
    return {at, at + QPoint(ideogramLeft, 0)};
}

double fitAllInPlaces(std::span<const QSize> pictures, std::span<const QSize> places)
{
    double factor = 1.0;
    for (std::size_t i = 0; i < std::min(pictures.size(), places.size()); ++i) {
        const QSize picture = pictures[i];
        const QSize place = places[i];
        if (picture.isEmpty() || place.isEmpty())
            continue;
        factor = std::min({factor, double(place.width()) / picture.width(),
                           double(place.height()) / picture.height()});
    }
    return factor;
}

} // namespace queldo
