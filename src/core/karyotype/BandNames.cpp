#include "core/karyotype/BandNames.h"

#include "core/karyotype/Karyotype.h"

#include <QFile>

namespace queldo {

namespace {

QByteArray resource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

const BandNames &BandNames::embedded()
{
    static const BandNames names =
        fromTsv({resource(QStringLiteral(":/cytobands/cytobands-550.tsv")),
                 resource(QStringLiteral(":/cytobands/cytobands-850.tsv"))});
    return names;
}

BandNames BandNames::fromTsv(const QList<QByteArray> &tables)
{
    BandNames names;
    for (const QByteArray &table : tables) {
        for (const QByteArray &line : table.split('\n')) {
            const QList<QByteArray> fields = line.split('\t');
            if (fields.size() < 3)
                continue;
            QString name = QString::fromLatin1(fields.at(2).trimmed());
            while (!name.isEmpty()) {
                names.m_names.insert(name);
                if (!name.contains(QLatin1Char('.')))
                    break;
                name.chop(1);
                if (name.endsWith(QLatin1Char('.')))
                    name.chop(1);
            }
        }
    }
    return names;
}

bool BandNames::contains(const Breakpoint &point) const
{
    return point.band == QLatin1String("10") || m_names.contains(point.text());
}

} // namespace queldo
