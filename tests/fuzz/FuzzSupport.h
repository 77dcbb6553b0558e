#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace queldo::fuzz {

inline QByteArray bytesOf(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

/// A folder for targets that must touch the disk, in memory where the system offers it: every
/// run writes, and a disk would make the fuzzing a test of its speed.
inline const QTemporaryDir &scratch()
{
    static const QTemporaryDir dir(QDir("/dev/shm").exists()
                                       ? QStringLiteral("/dev/shm/queldo-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/queldo-fuzz-XXXXXX"));
    return dir;
}

/// Stops the run with a finding the sanitizers cannot see: a promise of ours that was broken.
inline void require(bool condition, const char *promise)
{
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

} // namespace queldo::fuzz
