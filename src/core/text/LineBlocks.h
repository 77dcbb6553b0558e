#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace queldo {

/// How a file is read by forEachLineBlock().
struct LineBlockSizes
{
    qsizetype block = 4 << 20; ///< bytes read at a time
    /// The longest line held: no line the program writes comes near it, and a longer one (a
    /// damaged or foreign file, a file of zeros) is skipped unread rather than held whole.
    qsizetype line = 1 << 20;
};

/// Reads a regular file a block at a time, so that a file of any length costs the same memory,
/// and hands it on in runs of whole lines, split as forEachLine() splits them. lines(bytes,
/// linesBefore, offset) gets each run, the number of lines before it in the file and where in the
/// file it begins; a line that outgrows
/// sizes.line before its end has been read is skipped and overlong(lineNumber) told of it (the
/// first line is line 1).
/// lengthOf(size) says how much of the file, of the size it has when opened, is read.
/// Returns an empty string, or why the file could not be read; some runs may have been handed
/// on before a failure.
QString forEachLineBlock(const QString &path, const std::function<qint64(qint64)> &lengthOf,
                         const std::function<void(QByteArrayView, qsizetype, qint64)> &lines,
                         const std::function<void(qsizetype)> &overlong, LineBlockSizes sizes = {});

/// The number of lines in bytes, as forEachLine() counts them.
qsizetype countLines(QByteArrayView bytes);

} // namespace queldo
