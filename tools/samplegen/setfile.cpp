#include "setfile.h"

#include "core/board/ProblemFolder.h"

void SetFile::append(int piece, qint64 size)
{
    m_entries.append({queldo::bitmapFileName(piece), size});
}

QByteArray SetFile::toBytes() const
{
    // The reader decodes this as code page 932; plain ASCII is the same bytes.
    QByteArray bytes;
    for (const Entry &entry : m_entries)
        bytes += QStringLiteral("%1,%2,%3")
                     .arg(entry.name)
                     .arg(entry.size)
                     .arg(queldo::checkValueOf(entry.size))
                     .toLatin1() +
                 "\r\n";
    return bytes;
}
