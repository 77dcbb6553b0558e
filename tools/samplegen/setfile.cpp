#include "setfile.h"

#include "core/board/ProblemFolder.h"

QByteArray SetFile::toBytes() const
{
    // The reader decodes this as code page 932; plain ASCII is the same bytes.
    QByteArray bytes;
    for (const Entry &entry : m_entries)
        bytes += queldo::checkValueLine(entry.piece, entry.size).toLatin1() + "\r\n";
    return bytes;
}
