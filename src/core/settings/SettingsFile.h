#pragma once

#include <QString>

namespace queldo {

/// A trainee's four settings as stored in the settings file.
struct StoredSettings
{
    bool referenceMode = false;
    bool alignmentMode = false;
    int customScale = 0;
    float effectiveScale = 0.7f;
};

struct SettingsReadResult
{
    StoredSettings settings;
    /// Lines that were missing or malformed and fell back to the new-ID values.
    int defaultedLines = 0;
    QString error; ///< the file could not be read at all (the defaults are returned)
};

namespace SettingsFile {

/// The text of a 32-bit factor widened to double: up to 15 significant digits, so 0.7f reads
/// "0.699999988079071" and 1.0f reads "1".
QString scaleText(float value);

/// The bytes the settings dialog's OK writes: lines 1 to 3 end in a bare LF, line 4 in CR LF.
QByteArray dialogBytes(const StoredSettings &settings);
/// The bytes written for a new ID: "0", "0", "0", 0.699999988079071, each line ending in CR LF.
QByteArray newIdBytes();

/// Writes bytes whole (atomically). Empty string on success.
QString write(const QString &path, const QByteArray &bytes);
/// Reads the file. A missing, short or malformed file gives the new-ID values for what is missing.
SettingsReadResult read(const QString &path);

} // namespace SettingsFile

} // namespace queldo
