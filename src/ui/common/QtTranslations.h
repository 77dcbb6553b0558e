#pragma once

#include <QString>

namespace queldo {

/// Loads Qt's own Japanese texts for its standard dialogs (printer, file, colour) from the
/// folder Qt keeps its translations in, or from folder when given. False when they are missing:
/// the dialogs then speak English, which is no reason to stop.
bool installQtTranslations(const QString &folder = {});

} // namespace queldo
