#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace queldo::test {

/// A file's bytes as they lie on disk; empty when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Writes bytes exactly as given, replacing the file; false when not all of them were written.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace queldo::test
