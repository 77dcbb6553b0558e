#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

namespace queldo {

struct Breakpoint;

/// The bands a breakpoint may name: every band of the band tables and each coarser name above a
/// sub-band ("5p15" above "5p15.2"), as a trainee may name a break at a lower resolution.
class BandNames
{
public:
    /// The names of the tables compiled into the program.
    static const BandNames &embedded();
    /// Names from band tables in their tab-separated form; a line without a band is skipped.
    static BandNames fromTsv(const QList<QByteArray> &tables);

    /// p10 and q10, the centromere, are on every chromosome.
    bool contains(const Breakpoint &point) const;

private:
    QSet<QString> m_names;
};

} // namespace queldo
