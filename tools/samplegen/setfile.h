#pragma once

#include <QByteArray>
#include <QList>

// The check-value list stored beside a problem's bitmaps, one line per bitmap in piece order,
// each ending in CR LF, in the program's own line format.
class SetFile
{
public:
    void append(int piece, qint64 size) { m_entries.append({piece, size}); }
    QByteArray toBytes() const;

private:
    struct Entry
    {
        int piece = 0;
        qint64 size = 0;
    };
    QList<Entry> m_entries;
};
