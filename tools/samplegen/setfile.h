#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The check-value list stored beside a problem's bitmaps, one line per bitmap in piece order,
// each ending in CR LF, in the program's own line format.
class SetFile
{
public:
    void append(int piece, qint64 size);
    // A bitmap an abnormal cell adds beyond the pair of its class ("21-3.bmp").
    void append(const QString &bitmapName, qint64 size) { m_entries.append({bitmapName, size}); }
    QByteArray toBytes() const;

private:
    struct Entry
    {
        QString name;
        qint64 size = 0;
    };
    QList<Entry> m_entries;
};
