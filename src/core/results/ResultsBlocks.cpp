#include "core/results/ResultsBlocks.h"

#include "core/text/InPlaceAppend.h"
#include "core/text/LineBlocks.h"
#include "core/text/RegularFile.h"

namespace queldo::ResultsFile {

QString readLineRuns(const QString &path,
                     const std::function<void(QByteArrayView, qsizetype)> &lines,
                     const std::function<void(qsizetype)> &overlong, qsizetype blockBytes)
{
    bool tooLarge = false;
    const QString error = forEachLineBlock(
        path,
        [&](qint64 size) -> qint64 {
            tooLarge = size > MaxBlockReadBytes;
            // What an interrupted append had begun to write was never reported as saved.
            return tooLarge ? 0 : finishedLength(path, size);
        },
        [&](QByteArrayView run, qsizetype linesBefore, qint64) { lines(run, linesBefore); },
        overlong, {blockBytes, 1 << 20});
    if (!error.isEmpty())
        return QStringLiteral("成績ファイルを読めません。\n") + error;
    if (tooLarge)
        return QStringLiteral("成績ファイルを読めません。\n") +
               QStringLiteral("ファイル %1 が大きすぎます。").arg(path);
    return {};
}

QString readInBlocks(const QString &path,
                     const std::function<void(const ResultsReadResult &)> &take,
                     qsizetype blockBytes)
{
    QString failed;
    const QString error = readLineRuns(
        path,
        [&](QByteArrayView lines, qsizetype linesBefore) {
            const ResultsReadResult part = parseLines(lines, linesBefore);
            if (part.ok())
                take(part);
            else if (failed.isEmpty())
                failed = part.error;
        },
        [&](qsizetype lineNumber) {
            ResultsReadResult part;
            if (lineNumber > 1)
                part.unreadableLines.push_back(lineNumber);
            take(part);
        },
        blockBytes);
    return error.isEmpty() ? failed : error;
}

QString lineFactsOfFile(const QString &path, LineFacts *facts, qint64 *length)
{
    *facts = LineFacts();
    *length = 0;
    bool tooLarge = false;
    const QString error = forEachLineBlock(
        path,
        [&](qint64 size) -> qint64 {
            tooLarge = size > MaxBlockReadBytes;
            *length = tooLarge ? 0 : finishedLength(path, size);
            return *length;
        },
        [&](QByteArrayView lines, qsizetype, qint64) { facts->add(lines); },
        [&](qsizetype lineNumber) {
            facts->lines = lineNumber;
            facts->damagedLines.push_back(lineNumber);
        });
    if (!error.isEmpty())
        return error;
    if (tooLarge)
        return QStringLiteral("ファイル %1 が大きすぎます。").arg(path);
    // Whether the last line has its line end, also when it was too long to be handed on.
    if (*length > 0) {
        RegularFileReader file;
        char last = 0;
        if (!file.open(path) || !file.seek(*length - 1) || file.read(&last, 1) != 1)
            return file.error().isEmpty() ? QStringLiteral("ファイル %1 を読めません。").arg(path)
                                          : file.error();
        facts->terminated = last == '\n' || last == '\r';
    }
    return {};
}

} // namespace queldo::ResultsFile
