#pragma once

#include <QString>

class QSettings;

namespace queldo {

/// Makes Images and Result in a data folder and copies into Images every sample problem folder
/// (and loose file, such as the size preview's bitmap) that it does not hold yet, whatever the
/// letter case of the names there. Nothing already there is replaced: a teacher's own problems
/// and a trainee's results stay as they are. Returns a message for the user, empty on success.
QString layOutDataFolder(const QString &dataFolder, const QString &sampleProblems);

/// The data folder remembered in the user's configuration. On Unix a teacher can also set it for
/// every account of a machine in the system-wide configuration, which an own choice overrides.
QString rememberedDataFolder(const QSettings &configuration);
void rememberDataFolder(QSettings &configuration, const QString &dataFolder);

} // namespace queldo
