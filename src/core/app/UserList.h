#pragma once

#include <QString>
#include <QStringList>

namespace queldo {

/// The known IDs: read once at start-up from the Result folder of the folder the program was
/// started in, and extended by every ID created while it runs.
class UserList
{
public:
    /// The folders and plain files of a Result folder, hidden ones left out, in the order the
    /// file system gives them. A missing folder gives an empty list.
    static UserList read(const QString &resultFolder);

    /// Exact comparison: an ID differing only in letter case is a different trainee here,
    /// although the file system would open the same folder.
    bool contains(const QString &id) const { return m_ids.contains(id); }
    void append(const QString &id) { m_ids.append(id); }
    const QStringList &ids() const { return m_ids; }

private:
    QStringList m_ids;
};

} // namespace queldo
