#include "core/exercise/AnswerViewOptions.h"

#include "core/text/Cp932Text.h"

#include <QFileInfo>

namespace queldo::AnswerViewOptionsFile {

namespace {

const QString IdeogramKey = QStringLiteral("ideogram");
const QString KaryotypeChoicesKey = QStringLiteral("karyotypeChoices");

QString line(const QString &key, bool on)
{
    return key + (on ? QStringLiteral("=1") : QStringLiteral("=0"));
}

} // namespace

AnswerViewOptionsRead read(const QString &path)
{
    AnswerViewOptionsRead result;
    if (!QFileInfo::exists(path))
        return result;
    const TextReadResult text = readCp932Lines(path);
    if (!text.ok()) {
        result.error = text.error;
        return result;
    }
    for (const QString &line : text.lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (value != QLatin1String("1") && value != QLatin1String("0"))
            continue;
        if (key == IdeogramKey)
            result.options.ideograms = value == QLatin1String("1");
        else if (key == KaryotypeChoicesKey)
            result.options.karyotypeChoices = value == QLatin1String("1");
    }
    return result;
}

QString write(const QString &path, const AnswerViewOptions &options)
{
    QStringList lines{line(IdeogramKey, options.ideograms)};
    // Only when chosen: a trainee who never answers from lists keeps the file as it was.
    if (options.karyotypeChoices)
        lines << line(KaryotypeChoicesKey, true);
    return writeCp932Lines(path, lines);
}

QString change(const QString &path, const std::function<void(AnswerViewOptions &)> &change)
{
    AnswerViewOptions options = read(path).options;
    change(options);
    return write(path, options);
}

} // namespace queldo::AnswerViewOptionsFile
