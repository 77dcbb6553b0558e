#pragma once

#include <QString>
#include <QStringList>

namespace queldo {

/// The IDs found in a Result folder: its folders and plain files, hidden ones left out, in the
/// order the file system gives them. A missing folder gives an empty list.
QStringList readUserList(const QString &resultFolder);

} // namespace queldo
