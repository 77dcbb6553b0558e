#pragma once

#include <QString>

namespace queldo {

/// Keeps other copies of the program from starting. The lock is a file lock that the kernel
/// drops when the process ends, so a crash leaves nothing stale behind.
class SingleInstanceLock
{
public:
    /// lockFolder: where the lock file lies; empty for the user's runtime folder.
    explicit SingleInstanceLock(const QString &name, const QString &lockFolder = {});
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock &) = delete;
    SingleInstanceLock &operator=(const SingleInstanceLock &) = delete;

    /// True when this process holds the lock; false when another copy runs or it failed.
    bool acquired() const { return m_handle >= 0; }

private:
    int m_handle = -1;
};

} // namespace queldo
