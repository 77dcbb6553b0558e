#pragma once

#include <QString>

// Chromosomes are addressed by karyogram slot: 0..21 are the autosomes 1..22,
// 22 is X and 23 is Y. The bitmap number k (1..23) of a problem folder maps
// both sex chromosomes onto slot 23, so the two numberings differ only there.
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

} // namespace ChromosomeId
