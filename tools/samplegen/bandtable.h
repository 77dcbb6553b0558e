#pragma once

#include "cytoband.h"

#include <QByteArray>
#include <QList>
#include <array>

// The G-band ideogram of every chromosome: the 550-band level gives the layout,
// the 850-band level refines how dark each of those bands looks.
class BandTable
{
public:
    // The tables compiled into the program (see data/cytobands).
    static BandTable embedded();
    static BandTable fromTsv(const QByteArray &layoutLevel, const QByteArray &fineLevel);

    bool isValid() const { return m_errorString.isEmpty(); }
    QString errorString() const { return m_errorString; }

    const QList<ShadedBand> &bands(int chromosome) const { return m_bands.at(chromosome); }
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
