#pragma once

#include <QString>
#include <QStringList>

namespace queldo {

/// A trainee's settings as stored in the settings file.
struct StoredSettings
{
    bool referenceMode = false;
    bool alignmentMode = false;
    int CustomScale = 0;
    float EffectiveScale = 0.7f;
    /// The chosen size in tenths (7 to 13), or 0 when the file does not say. Line 4 holds an
    /// absolute factor that depends on the problem on screen when it was saved, so the chosen
    /// size cannot be recovered from it; a fifth line keeps it. Files without it still read.
    int trackBarPosition = 0;
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
/// A chosen size other than the middle one adds its track bar position as a fifth line.
QByteArray dialogBytes(const StoredSettings &settings);
/// The bytes written for a new ID: "0", "0", "0", 0.699999988079071, each line ending in CR LF.
QByteArray newIdBytes();

/// Writes bytes whole (atomically). Empty string on success.
QString write(const QString &path, const QByteArray &bytes);
/// Reads the file. A missing, short or malformed file gives the new-ID values for what is missing.
SettingsReadResult read(const QString &path);
/// The settings the lines of a settings file give, by the same rules.
SettingsReadResult fromLines(const QStringList &lines);

} // namespace SettingsFile

} // namespace queldo
