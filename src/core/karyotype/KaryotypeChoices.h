#pragma once

#include "core/karyotype/Karyotype.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace queldo {

/// A karyotype put together from lists rather than typed, for trainees who do not write ISCN
/// yet: the count, the sex chromosomes and at most one abnormality. The text it builds is read
/// and scored exactly like a typed one, so the two ways of answering can never score apart.
struct KaryotypeChoices
{
    int count = 46;
    QString sexChromosomes = QStringLiteral("XY");
    /// No abnormality when empty.
    std::optional<AbnormalityKind> kind;
    /// ChromosomeId of the (first) chromosome, and of the second for t and rob.
    int firstChromosome = 0;
    int secondChromosome = 0;
    /// Arm and band as ISCN writes them after the chromosome ("p15.2"); the second for an
    /// interstitial change or the second chromosome of t. Empty: not given.
    QString firstBand;
    QString secondBand;

    /// The karyotype in ISCN's short form, as a trainee would have typed it.
    QString text() const;
};

namespace KaryotypeChoiceLists {

/// The counts a cell on this program's board may have.
QList<int> counts();
/// The sex chromosome complements offered, the usual ones first.
QStringList sexChromosomes();
/// The abnormality kinds offered, in the order shown.
QList<AbnormalityKind> kinds();
/// What a kind is called in the list: "トリソミー (+)", "相互転座 t".
QString kindLabel(AbnormalityKind kind);
/// How many chromosomes and how many bands a kind asks for (a deletion and a duplication may
/// have one or two bands; the second is then optional).
int chromosomesAsked(AbnormalityKind kind);
int bandsAsked(AbnormalityKind kind);
/// The bands a break of the chromosome may be named at, from the tip of p to the tip of q, at
/// the 550-band level, a divided band also whole before its parts ("p15", "p15.3", …); the
/// centromere ("p10", "q10") for an isochromosome.
QStringList bands(int chromosome, AbnormalityKind kind);

} // namespace KaryotypeChoiceLists

} // namespace queldo
