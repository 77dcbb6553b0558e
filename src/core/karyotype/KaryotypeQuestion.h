#pragma once

#include "core/karyotype/Karyotype.h"
#include "core/karyotype/KaryotypeScore.h"

#include <QString>
#include <QStringList>

namespace queldo {

class BandNames;

/// A trainee's answer to "what is this cell's karyotype?", as scored.
struct KaryotypeAnswer
{
    /// The text as the trainee wrote it (or as the choices built it); empty when they gave
    /// none.
    QString written;
    /// The cell's karyotype in ISCN.
    QString expected;
    KaryotypeScore score;

    /// What the trainee is told: a first line with the verdict and the points, then one line
    /// per part that is not right.
    QStringList summary() const;
};

/// The question asked after an abnormal cell's arrangement was scored.
class KaryotypeQuestion
{
public:
    explicit KaryotypeQuestion(const Karyotype &expected);
    KaryotypeQuestion(const Karyotype &expected, const BandNames &bands);

    const Karyotype &expected() const { return m_expected; }

    /// Why the text cannot be scored (it is empty or not a karyotype this program reads), or
    /// an empty string when it can. A text that cannot be read is not an answer: the trainee
    /// corrects it rather than losing the attempt on a typing slip.
    QString problemWith(const QString &written) const;
    /// Scores a text that problemWith() accepts.
    KaryotypeAnswer answer(const QString &written) const;
    /// The question left unanswered: every part of the cell missed.
    KaryotypeAnswer unanswered() const;

private:
    Karyotype m_expected;
    const BandNames &m_bands;
};

} // namespace queldo
