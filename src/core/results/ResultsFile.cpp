#include "core/results/ResultsFile.h"

#include "core/board/ProblemFolder.h"

#include "core/text/Cp932Text.h"

#include <QFileInfo>

#include <algorithm>

namespace queldo {

const QString ResultsHeader = QStringLiteral(
    " 試行No,日時,データファイル,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,"
    "25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,解答時間");

namespace ResultsFile {

namespace {

constexpr QChar Quote = u'"';
constexpr QChar Comma = u',';

// Blanks and control characters are one class for both rules: they force quoting when writing
// and separate fields when reading.
bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

QString unreadable(const QString &detail)
{
    return QStringLiteral("成績ファイルを読めません。\n") + detail;
}

QString unwritable(const QString &detail)
{
    return QStringLiteral("成績を記録できませんでした。これまでの成績はそのまま残っています。\n") +
           detail;
}

int recordCount(const QStringList &lines)
{
    // A file without even its header holds no records, just like a header alone.
    return std::max(0, int(lines.size()) - 1);
}

} // namespace

QString joinFields(const QStringList &fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += Comma;
        const QString &field = fields.at(i);
        const bool needsQuotes = std::any_of(field.begin(), field.end(), [](QChar c) {
            return isBlankOrControl(c) || c == Comma || c == Quote;
        });
        if (!needsQuotes) {
            line += field;
            continue;
        }
        QString quoted = field;
        quoted.replace(Quote, QStringLiteral("\"\""));
        line += Quote + quoted + Quote;
    }
    return line;
}

QStringList splitFields(const QString &line)
{
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlankOrControl(line.at(i)))
            ++i;
    };

    skipBlanks();
    while (i < n) {
        QString field;
        if (line.at(i) == Quote) {
            ++i;
            // Runs to the matching quote; a doubled quote stands for one. An unclosed quote takes
            // the rest of the line.
            while (i < n) {
                if (line.at(i) == Quote) {
                    if (i + 1 < n && line.at(i + 1) == Quote) {
                        field += Quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line.at(i++);
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isBlankOrControl(line.at(i)) && line.at(i) != Comma)
                ++i;
            field = line.mid(start, i - start);
        }
        fields << field;

        skipBlanks();
        if (i < n && line.at(i) == Comma) {
            // Only a comma that is the very last character opens one more, empty field; blanks
            // after it are skipped like any others.
            if (i + 1 == n)
                fields << QString();
            ++i;
            skipBlanks();
        }
    }
    return fields;
}

QString create(const QString &path)
{
    const QString error = writeCp932Lines(path, {ResultsHeader});
    return error.isEmpty() ? QString() : QStringLiteral("成績ファイルを作成できません。\n") + error;
}

QString append(const QString &path, const QString &todayText, int problemNumber,
               const std::array<int, 46> &codes, int elapsedSeconds)
{
    QStringList lines;
    if (QFileInfo::exists(path)) {
        const TextReadResult read = readCp932Lines(path);
        if (!read.ok())
            return unwritable(read.error);
        lines = read.lines;
    }
    // A file that went missing, or lost even its header, starts again with the header, so the
    // attempt just scored is kept rather than lost.
    if (lines.isEmpty())
        lines << ResultsHeader;

    QStringList fields;
    fields.reserve(50);
    fields << QString::number(recordCount(lines)) << todayText << problemNumberText(problemNumber);
    for (int code : codes)
        fields << QString::number(code);
    fields << QString::number(elapsedSeconds);

    lines << joinFields(fields);
    const QString error = writeCp932Lines(path, lines);
    return error.isEmpty() ? QString() : unwritable(error);
}

ResultsReadResult read(const QString &path)
{
    ResultsReadResult result;
    const TextReadResult text = readCp932Lines(path);
    if (!text.ok()) {
        result.error = unreadable(text.error);
        return result;
    }
    for (qsizetype i = 1; i < text.lines.size(); ++i)
        result.records.push_back({splitFields(text.lines.at(i))});
    return result;
}

Counts count(const QString &path, const QString &todayText)
{
    Counts counts;
    const TextReadResult text = readCp932Lines(path);
    if (!text.ok()) {
        counts.error = unreadable(text.error);
        return counts;
    }
    counts.records = recordCount(text.lines);
    for (qsizetype i = 1; i < text.lines.size(); ++i) {
        const QStringList fields = splitFields(text.lines.at(i));
        if (fields.size() > 1 && fields.at(1) == todayText)
            ++counts.today;
    }
    return counts;
}

} // namespace ResultsFile

} // namespace queldo
