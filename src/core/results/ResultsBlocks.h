#pragma once

#include "core/results/ResultsFile.h"

#include <QString>

#include <functional>

namespace queldo::ResultsFile {

/// The longest results file read a block at a time: twenty years of attempts take well under a
/// tenth of it. A longer file is refused before anything is read.
inline constexpr qint64 MaxBlockReadBytes = qint64(2) << 30;

/// Reads the file a block at a time and hands it on in runs of whole lines: lines(run,
/// linesBefore) gets each run and the number of lines before it, overlong(lineNumber) each line
/// too long to be a record, which is skipped unread. Only what was reported saved is read; a file
/// over MaxBlockReadBytes is refused unread. Returns an empty string, or the message of a file
/// that could not be read.
QString readLineRuns(const QString &path,
                     const std::function<void(QByteArrayView, qsizetype)> &lines,
                     const std::function<void(qsizetype)> &overlong,
                     qsizetype blockBytes = 4 << 20);

/// Reads every record of the file a block of lines at a time, so that memory stays the same
/// however long the history: take(part) gets the records of each block in file order (line
/// numbers as in the whole file; a line too long to be a record comes as an unreadable line).
/// Returns an empty string, or the message of a file that could not be read; the parts taken
/// before a failure are then not the whole file.
QString readInBlocks(const QString &path,
                     const std::function<void(const ResultsReadResult &)> &take,
                     qsizetype blockBytes = 4 << 20);

/// The facts of the file's lines that appending needs, gathered a block at a time; *length is
/// how much of the file they cover (all but what an interrupted append left). A line too long
/// to be a record counts as damaged. Returns an empty string, or why the file cannot be read.
QString lineFactsOfFile(const QString &path, LineFacts *facts, qint64 *length);

} // namespace queldo::ResultsFile
