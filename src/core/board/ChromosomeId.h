#pragma once

#include "core/board/Karyogram.h"

#include <QString>

namespace queldo {

/// Chromosomes as the band tables address them: 0..21 are the autosomes 1..22, 22 is X and 23
/// is Y. A problem's bitmap number k (1..23) puts both sex chromosomes under 23, so the two
/// numberings differ only there.
namespace ChromosomeId {

constexpr int Count = 24;
constexpr int X = 22;
constexpr int Y = 23;

inline QString name(int id)
{
    if (id == X)
        return QStringLiteral("X");
    if (id == Y)
        return QStringLiteral("Y");
    return QString::number(id + 1);
}

inline int fromName(const QString &name)
{
    if (name == QLatin1String("X"))
        return X;
    if (name == QLatin1String("Y"))
        return Y;
    bool ok = false;
    const int number = name.toInt(&ok);
    return ok && number >= 1 && number <= 22 ? number - 1 : -1;
}

inline bool isAcrocentric(int id)
{
    const int number = id + 1;
    return number == 13 || number == 14 || number == 15 || number == 21 || number == 22;
}

/// The chromosome shown by piece n of a normal problem: piece 44 is an X, piece 45 an X in a
/// female problem and a Y otherwise.
inline int ofPiece(int piece, bool female)
{
    if (piece == XPiece)
        return X;
    if (piece == XYPiece)
        return female ? X : Y;
    return pairClass(piece) - 1;
}

/// The chromosome a place of a normal problem's karyogram wants: that of the piece of its
/// number.
inline int ofPlace(int place, bool female)
{
    return ofPiece(place, female);
}

} // namespace ChromosomeId

} // namespace queldo
