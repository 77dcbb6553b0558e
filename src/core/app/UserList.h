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

    /// Exact comparison: an ID listed as typed.
    bool contains(const QString &id) const { return m_ids.contains(id); }
    /// The listed IDs a trainee could not tell from id in a list (userIdKey), in list order:
    /// the same in another letter case or width, with blanks around it, or spelled with
    /// look-alike letters. Older installations may hold several of them.
    QStringList lookAlikes(const QString &id) const;
    void append(const QString &id) { m_ids.append(id); }
    const QStringList &ids() const { return m_ids; }

private:
    QStringList m_ids;
};

} // namespace queldo
