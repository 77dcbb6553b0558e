#pragma once

#include <QString>

namespace queldo {

/// Keeps a trainee from starting the program twice. The lock is a file lock per user that the
/// kernel drops when the process ends, so a crash leaves nothing stale behind, and another
/// account's copy or file never stands in the way.
class SingleInstanceLock
{
public:
    /// lockFolder: where the lock file lies; empty for the user's runtime folder, or the
    /// temporary folder when there is none.
    explicit SingleInstanceLock(const QString &name, const QString &lockFolder = {});
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock &) = delete;
    SingleInstanceLock &operator=(const SingleInstanceLock &) = delete;

    /// True only when another copy of this user's program holds the lock. A lock file that
    /// cannot be used at all does not keep the program from running.
    bool anotherCopyRuns() const { return m_anotherCopyRuns; }
    /// The lock file this user's copies share.
    static QString lockPath(const QString &name, const QString &lockFolder = {});

private:
    int m_handle = -1;
    bool m_anotherCopyRuns = false;
};

} // namespace queldo
