#include "setfile.h"

QByteArray SetFile::toBytes() const
{
    // The reader decodes this as code page 932; plain ASCII is the same bytes.
    QByteArray bytes;
    for (const Entry &entry : m_entries) {
        bytes += entry.fileName.toLatin1();
        bytes += ',' + QByteArray::number(entry.size);
        bytes += ',' + QByteArray::number(checkValue(entry.size));
        bytes += "\r\n";
    }
    return bytes;
}
