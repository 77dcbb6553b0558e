#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The listing stored beside a problem's bitmaps, one line per bitmap:
// "k-j.bmp,<size>,<check>" ending in CR LF.
class SetFile
{
public:
    struct Entry
    {
        QString fileName;
        qint64 size = 0;
    };

    void append(const QString &fileName, qint64 size) { m_entries.append({fileName, size}); }
    QByteArray toBytes() const;

    // The bytes after the 5-byte lead-in, modulo 83.
    static int checkValue(qint64 size) { return int((size - 5) % 83); }

private:
    QList<Entry> m_entries;
};
