#include "core/exercise/AnswerLayout.h"

#include "core/board/AnswerKey.h"
#include "core/board/BoardLayout.h"
#include "core/board/ChromosomeId.h"

#include <algorithm>

namespace queldo {

namespace {

// Around the enlarged pair: from the area's sides and bottom, between a picture and its
// ideogram, and between the two chromosomes.
constexpr int PairMargin = 12;
constexpr int IdeogramGap = 6;
constexpr int PairGap = 40;
constexpr double MostEnlarged = 12.0;

int largeIdeogramWidth(int pictureWidth)
{
    return std::clamp(pictureWidth * 3 / 5, 1, LargeIdeogramWidth);
}

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
    return ChromosomeId::name(ChromosomeId::ofPlace(place, female));
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

PairEnlargement enlargeGroup(QSize area, int top, const QList<QSize> &pictures)
{
    PairEnlargement out;
    const auto count = std::size_t(std::min<qsizetype>(pictures.size(), MostOfAClass));
    int tallest = 0;
    int wide = 0;
    for (std::size_t i = 0; i < count; ++i) {
        tallest = std::max(tallest, pictures[qsizetype(i)].height());
        wide += std::max(0, pictures[qsizetype(i)].width());
    }
    if (tallest <= 0 || wide <= 0)
        return out;
    const int room = area.height() - top - PairMargin;
    const int fixedWidth = 2 * PairMargin + int(count) * IdeogramGap + int(count - 1) * PairGap;
    // The ideograms take at most 3/5 of their pictures' widths.
    const double byWidth = double(area.width() - fixedWidth) / (wide * 1.6);
    out.factor = std::clamp(std::min(double(room) / tallest, byWidth), 0.0, MostEnlarged);
    std::array<QSize, MostOfAClass> sizes{};
    int groupWidth = -PairGap;
    for (std::size_t i = 0; i < count; ++i) {
        const QSize given = pictures[qsizetype(i)];
        sizes[i] = QSize(int(given.width() * out.factor), int(given.height() * out.factor));
        groupWidth +=
            PairGap + sizes[i].width() + IdeogramGap + largeIdeogramWidth(sizes[i].width());
    }
    const int groupHeight = int(tallest * out.factor);
    int left = std::max(0, (area.width() - groupWidth) / 2);
    const int groupTop = top + std::max(0, (room - groupHeight) / 2);
    for (std::size_t i = 0; i < count; ++i) {
        out.pictures[i] = QRect(QPoint(left, groupTop), sizes[i]);
        left += sizes[i].width() + IdeogramGap;
        out.ideograms[i] =
            QRect(left, groupTop, largeIdeogramWidth(sizes[i].width()), sizes[i].height());
        left += out.ideograms[i].width() + PairGap;
    }
    return out;
}

PairEnlargement enlargePair(QSize area, int top, QSize first, QSize second)
{
    return enlargeGroup(area, top, {first, second});
}

double contentScale(QSize laidOutFor, QSize now)
{
    if (laidOutFor.isEmpty() || now.isEmpty() || laidOutFor == now)
        return 1.0;
    return std::min(double(now.width()) / laidOutFor.width(),
                    double(now.height()) / laidOutFor.height());
}

} // namespace queldo
