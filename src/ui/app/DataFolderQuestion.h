#pragma once

#include "core/app/FolderChoice.h"

#include <QString>

#include <optional>

class QSettings;

namespace queldo {

/// Settles this run's folders. An installed program without a usable data folder asks for one
/// (a folder of the user's own or a shared drive of the training room) until a writable folder
/// is given, and remembers it in configuration; a data folder gets the sample problems it lacks.
/// Nothing when the user gives up or the folder cannot be laid out, which has then been said.
/// homeFolder is the folder offered as the simple answer.
std::optional<FolderChoice> settleFolders(const FolderFacts &facts, QSettings &configuration,
                                          const QString &homeFolder);

} // namespace queldo
