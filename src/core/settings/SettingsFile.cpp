#include "core/settings/SettingsFile.h"
#include "core/board/Karyogram.h"

#include "core/settings/LiveSettings.h"
#include "core/text/Cp932Text.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

namespace queldo::SettingsFile {

namespace {

constexpr int LineCount = 4;

QByteArray flag(bool on)
{
    return on ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
}

std::optional<int> readInteger(const QString &line)
{
    bool ok = false;
    const int value = line.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<float> readScale(const QString &line)
{
    bool ok = false;
    const double value = line.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0.0 || value > double(LargestScale))
        return std::nullopt;
    return float(value);
}

} // namespace

QString scaleText(float value)
{
    // QString::number always writes "." whatever the locale, as the file needs.
    return QString::number(double(value), 'g', 15);
}

QByteArray dialogBytes(const StoredSettings &settings)
{
    // The dialog builds the four values as one text and writes it as a single line, so only the
    // last line ends in CR LF. Readers accept both line ends.
    QByteArray bytes = flag(settings.referenceMode) + '\n' + flag(settings.alignmentMode) + '\n' +
                       flag(settings.CustomScale == 1) + '\n' +
                       scaleText(settings.EffectiveScale).toLatin1() + "\r\n";
    if (settings.CustomScale == 1 && settings.trackBarPosition != 0)
        bytes += QByteArray::number(settings.trackBarPosition) + "\r\n";
    return bytes;
}

QByteArray newIdBytes()
{
    const StoredSettings defaults;
    return QByteArrayLiteral("0\r\n0\r\n0\r\n") + scaleText(defaults.EffectiveScale).toLatin1() +
           "\r\n";
}

QString write(const QString &path, const QByteArray &bytes)
{
    const QString error = writeFileAtomically(path, bytes);
    return error.isEmpty() ? QString() : QStringLiteral("設定を保存できませんでした。\n") + error;
}

SettingsReadResult read(const QString &path)
{
    SettingsReadResult result;
    if (!QFileInfo::exists(path)) {
        result.defaultedLines = LineCount;
        return result;
    }
    const TextReadResult text = readCp932Lines(path);
    if (!text.ok()) {
        result.defaultedLines = LineCount;
        result.error = QStringLiteral("設定ファイルを読めません。\n") + text.error;
        return result;
    }
    return fromLines(text.lines);
}

SettingsReadResult fromLines(const QStringList &lines)
{
    SettingsReadResult result;
    StoredSettings &s = result.settings;
    result.defaultedLines = std::max(0, LineCount - int(lines.size()));

    // Any text but exactly "1" means off, so these two lines are never malformed, only missing.
    if (lines.size() > 0)
        s.referenceMode = lines.at(0) == u"1";
    if (lines.size() > 1)
        s.alignmentMode = lines.at(1) == u"1";
    if (lines.size() > 2) {
        if (const auto custom = readInteger(lines.at(2)))
            s.CustomScale = *custom;
        else
            ++result.defaultedLines;
    }
    if (lines.size() > 3) {
        if (const auto scale = readScale(lines.at(3)))
            s.EffectiveScale = *scale;
        else
            ++result.defaultedLines;
    }
    // The optional fifth line: anything but a track bar position is ignored.
    if (lines.size() > 4) {
        const auto position = readInteger(lines.at(4));
        if (position && *position >= LiveSettings::MinimumPosition &&
            *position <= LiveSettings::MaximumPosition)
            s.trackBarPosition = *position;
    }
    return result;
}

} // namespace queldo::SettingsFile
