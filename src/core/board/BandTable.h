#pragma once

#include "core/board/CytoBand.h"

#include <QByteArray>
#include <QList>

#include <array>

namespace queldo {

/// The G-band ideogram of every chromosome: the 550-band level gives the layout, the 850-band
/// level refines how dark each of those bands looks. Chromosomes are addressed by ChromosomeId.
class BandTable
{
public:
    /// The tables compiled into the program (see data/cytobands).
    static BandTable embedded();
    /// Reads the two tab-separated tables. A missing, malformed or incomplete table gives an
    /// invalid table whose errorString says why.
    static BandTable fromTsv(const QByteArray &layoutLevel, const QByteArray &fineLevel);

    /// The rows of the 850-band table compiled into the program, in table order: the finest
    /// boundaries a break can be drawn at. Empty when the table is missing or malformed.
    static QList<CytoBand> embeddedFineBands();

    bool isValid() const { return m_errorString.isEmpty(); }
    QString errorString() const { return m_errorString; }

    /// The bands from the tip of the short arm to the tip of the long arm; empty for an invalid
    /// table or an unknown chromosome.
    const QList<ShadedBand> &bands(int chromosome) const;
    /// Length and centromere position in drawing units; 0 when the chromosome has no bands.
    int iscnLength(int chromosome) const;
    int centromereIscn(int chromosome) const;
    double centromereIndex(int chromosome) const;

    static double stainDarkness(BandStain stain);

private:
    static QList<CytoBand> parse(const QByteArray &tsv, QString *error);
    void shade(const QList<CytoBand> &layoutBands, const QList<CytoBand> &fineBands);
    void validate();

    std::array<QList<ShadedBand>, 24> m_bands;
    QString m_errorString;
};

} // namespace queldo
