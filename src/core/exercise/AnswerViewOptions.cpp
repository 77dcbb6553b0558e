#include "core/exercise/AnswerViewOptions.h"

#include "core/text/Cp932Text.h"

#include <QFileInfo>

namespace queldo::AnswerViewOptionsFile {

namespace {

const QString IdeogramKey = QStringLiteral("ideogram");

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
        if (key == IdeogramKey && (value == QLatin1String("1") || value == QLatin1String("0")))
            result.options.ideograms = value == QLatin1String("1");
    }
    return result;
}

QString write(const QString &path, const AnswerViewOptions &options)
{
    return writeCp932Lines(
        path, {IdeogramKey + (options.ideograms ? QStringLiteral("=1") : QStringLiteral("=0"))});
}

} // namespace queldo::AnswerViewOptionsFile
