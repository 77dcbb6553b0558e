#pragma once

#include "core/board/Karyogram.h"
#include "core/results/ResultsDate.h"
#include "core/results/ResultsRecords.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace queldo {

/// The fixed first line of every results file (it begins with a blank).
extern const QString ResultsHeader;

/// What reading a results file gave.
struct ResultsReadResult
{
    ResultsRecords records; ///< every readable line after the header, in file order
    /// Lines (the header is line 1) whose bytes are not code page 932; they are not in records.
    std::vector<qsizetype> unreadableLines;
    QString error; ///< empty when the file could be read at all
    bool ok() const { return error.isEmpty(); }
};

/// What appending a record did.
struct AppendResult
{
    /// Empty when the attempt was saved; otherwise why not (the file is then as it was).
    QString error;
    /// Set when the attempt was saved into a file that was already damaged: which lines are
    /// damaged and that they were kept as they are. Empty for a sound file.
    QString notice;
    /// The damaged lines (the header is line 1): line 1 when it is not the header, and every line
    /// whose bytes are not code page 932.
    std::vector<qsizetype> damagedLines;
    /// Set when a note beside the file that did not belong to it was moved aside (it cut
    /// nothing): what was found and where it lies now. Said once, as the note is gone after.
    QString rejectedNote;
    /// Field 0 of the record written: the number of records before it; -1 when nothing was saved.
    int recordNumber = -1;
    bool saved() const { return error.isEmpty(); }
};

/// The per-user results file. Reading takes the whole file; appending adds the new line where the
/// file lies, leaving every earlier byte alone.
namespace ResultsFile {

/// Joins fields by the writer's rule: a field holding a blank, a control character, a comma or a
/// double quote is quoted, with inner quotes doubled.
QString joinFields(const QStringList &fields);
/// Splits a record line by the reader's rule: an unquoted blank separates fields like a comma.
QStringList splitFields(const QString &line);

/// Writes the header alone (a new ID, or erasing all grades). Empty string on success.
QString create(const QString &path);

/// The line of a new record, without its line end: field 0 is the number of records before it,
/// then the date text, the problem number ("%.3d"), the 46 codes and the seconds.
QString recordLine(int recordsBefore, const QString &dateText, int problemNumber,
                   const SlotCodes &codes, int elapsedSeconds);

/// The bytes of a file after appending a record to one holding `existing`: those bytes exactly as
/// they are, a line end if the last line lacked one, then the new line. Empty `existing` (a file
/// that went missing or lost even its header) starts again with the header, so the attempt is
/// kept. Works on bytes so that no earlier line is decoded and re-encoded.
struct AppendedBytes
{
    QByteArray bytes; ///< empty when error is set
    AppendResult result;
};
AppendedBytes appendToBytes(const QByteArray &existing, const QString &dateText, int problemNumber,
                            const SlotCodes &codes, int elapsedSeconds);

/// What appending needs to know of a file's lines: how many, whether the last one has its line
/// end, and which are damaged (line 1 when it is not the header, and every line whose bytes are
/// not code page 932).
struct LineFacts
{
    qsizetype lines = 0;
    bool terminated = true;
    std::vector<qsizetype> damagedLines;
    /// Takes the next whole lines of the file into account, numbered on from those before.
    void add(QByteArrayView bytes);
};
LineFacts lineFactsOf(QByteArrayView bytes);

/// Appends one record to the file, with the bytes appendToBytes() would compose. An existing file
/// is appended to in place (a crash leaves at worst an unfinished tail that readers leave out and
/// the next write cuts away); a missing or empty one is written afresh, atomically.
AppendResult appendRecord(const QString &path, const QString &dateText, int problemNumber,
                          const SlotCodes &codes, int elapsedSeconds);
/// appendRecord() for callers that only show a message: empty when the attempt was saved into a
/// sound file, otherwise the error or the notice.
QString append(const QString &path, const QString &dateText, int problemNumber,
               const SlotCodes &codes, int elapsedSeconds);

/// Splits a whole file's bytes into records. Line 1 is skipped unread; a line that is not code
/// page 932 is left out and listed. A plain function of bytes, for tests and fuzzing alike.
ResultsReadResult parse(QByteArrayView bytes);
/// parse() of whole lines that follow `linesBefore` lines of a file: line numbers go on from
/// there, and the header is skipped only when it is among them.
ResultsReadResult parseLines(QByteArrayView bytes, qsizetype linesBefore);
/// Reads every record of the file.
ResultsReadResult read(const QString &path);

struct Counts
{
    int records = 0;
    int today = 0;
    QString error;
};
/// The number of records (lines after the first) and of those dated today in either form. Only the
/// date field of each line is split out and decoded.
Counts countBytes(QByteArrayView bytes, const TodayDate &today);
Counts count(const QString &path, const TodayDate &today);

} // namespace ResultsFile

} // namespace queldo
