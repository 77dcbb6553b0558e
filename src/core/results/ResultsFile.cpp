#include "core/results/ResultsFile.h"
#include "core/results/ResultsBlocks.h"

#include "core/board/ProblemFolder.h"
#include "core/results/ResultsRecordLayout.h"
#include "core/text/Cp932Text.h"
#include "core/text/InPlaceAppend.h"
#include "core/text/RegularFile.h"
#include "core/text/WriteLock.h"

#include <QFileInfo>

#include <algorithm>
#include <new>
#include <type_traits>

namespace queldo {

const QString ResultsHeader = QStringLiteral(
    " 試行No,日時,データファイル,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,"
    "25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,解答時間");

namespace ResultsFile {

namespace {

constexpr char16_t Quote = u'"';
constexpr char16_t Comma = u',';

// Far beyond any real history (a million attempts take about 130 MB); the limit keeps a hostile
// file from exhausting memory and the record offsets within 32 bits.
constexpr qint64 MaxFileBytes = qint64(1) << 30;

// Blanks and control characters are one class for both rules: they force quoting when writing
// and separate fields when reading.
template <typename Unit> bool isBlankOrControl(Unit c)
{
    return std::make_unsigned_t<Unit>(c) <= 0x20;
}

// The reader's rule, over code page 932 bytes or over UTF-16 text alike: the quote, the comma,
// blanks and control characters are all below 0x40, so none of them is ever the second byte of a
// double-byte character. fieldFn(begin, end, quoted) gets each field's extent (inside the quotes
// for a quoted one, doubled quotes still doubled) and returns false to stop early.
template <typename Unit, typename FieldFn>
void splitRecord(const Unit *s, qsizetype n, FieldFn &&fieldFn)
{
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlankOrControl(s[i]))
            ++i;
    };

    skipBlanks();
    while (i < n) {
        qsizetype begin = i;
        qsizetype end;
        bool quoted = false;
        if (s[i] == Unit(Quote)) {
            quoted = true;
            begin = ++i;
            // Runs to the matching quote; a doubled quote stands for one. An unclosed quote takes
            // the rest of the line.
            while (i < n) {
                if (s[i] == Unit(Quote)) {
                    if (i + 1 < n && s[i + 1] == Unit(Quote)) {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            end = i;
            if (i < n)
                ++i;
        } else {
            while (i < n && !isBlankOrControl(s[i]) && s[i] != Unit(Comma))
                ++i;
            end = i;
        }
        if (!fieldFn(begin, end, quoted))
            return;

        skipBlanks();
        if (i < n && s[i] == Unit(Comma)) {
            // Only a comma that is the very last character opens one more, empty field; blanks
            // after it are skipped like any others.
            if (i + 1 == n && !fieldFn(n, n, false))
                return;
            ++i;
            skipBlanks();
        }
    }
}

// Turns each doubled quote of a quoted field's text into one, in place; returns the new length.
qsizetype collapseDoubledQuotes(char16_t *text, qsizetype length)
{
    qsizetype out = 0;
    for (qsizetype i = 0; i < length; ++i, ++out) {
        text[out] = text[i];
        if (text[i] == Quote)
            ++i; // the scan that found the field guarantees the second quote
    }
    return out;
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

QString tooLarge(const QString &path)
{
    return QStringLiteral("ファイル %1 が大きすぎます。").arg(path);
}

// Reads a whole file as bytes; on failure returns nothing and says why in error. Only a regular
// file is read: a FIFO would hang the program and a link to a device would never end.
std::optional<QByteArray> readBytes(const QString &path, QString *error)
{
    try {
        FileBytes file = readRegularFile(path, MaxFileBytes);
        if (!file.ok()) {
            *error = file.error;
            return std::nullopt;
        }
        // What an interrupted append had begun to write was never reported as saved.
        file.bytes.truncate(qsizetype(finishedLength(path, file.bytes.size())));
        return std::move(file.bytes);
    } catch (const std::bad_alloc &) {
        *error = tooLarge(path);
        return std::nullopt;
    }
}

const QByteArray &encodedHeader()
{
    static const QByteArray header = *encodeCp932(ResultsHeader);
    return header;
}

QString lineList(const std::vector<qsizetype> &lines)
{
    QStringList numbers;
    for (qsizetype line : lines)
        numbers << QString::number(line);
    return numbers.join(QStringLiteral(", "));
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
            return isBlankOrControl(c.unicode()) || c == Comma || c == Quote;
        });
        if (!needsQuotes) {
            line += field;
            continue;
        }
        QString quoted = field;
        quoted.replace(QChar(Quote), QStringLiteral("\"\""));
        line += QChar(Quote) + quoted + QChar(Quote);
    }
    return line;
}

QStringList splitFields(const QString &line)
{
    QStringList fields;
    const auto *s = reinterpret_cast<const char16_t *>(line.constData());
    splitRecord(s, line.size(), [&](qsizetype begin, qsizetype end, bool quoted) {
        QString field(line.constData() + begin, end - begin);
        if (quoted)
            field.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        fields << field;
        return true;
    });
    return fields;
}

QString create(const QString &path)
{
    const WriteLock lock(path);
    // Whatever an interrupted append left goes first, so that its note cannot outlive the file
    // it belongs to.
    QString error = lock.ok() ? undoUnfinishedAppend(path) : lock.error();
    if (error.isEmpty())
        error = writeCp932Lines(path, {ResultsHeader});
    return error.isEmpty() ? QString() : QStringLiteral("成績ファイルを作成できません。\n") + error;
}

QString recordLine(int recordsBefore, const QString &dateText, int problemNumber,
                   const SlotCodes &codes, int elapsedSeconds)
{
    using namespace ResultsRecordLayout;
    QStringList fields(FieldCount);
    fields[NumberField] = QString::number(recordsBefore);
    fields[DateField] = dateText;
    fields[ProblemField] = problemNumberText(problemNumber);
    for (int s = 0; s < SlotCount; ++s)
        fields[placeField(s)] = QString::number(codes[std::size_t(s)]);
    fields[SecondsField] = QString::number(elapsedSeconds);
    return joinFields(fields);
}

namespace {

} // namespace

void LineFacts::add(QByteArrayView bytes)
{
    // Earlier lines are only looked at, never re-encoded: bytes that would not survive a round
    // trip stay exactly as they are, and a damaged line no longer blocks every later attempt.
    Cp932Decoder decoder;
    std::vector<char16_t> scratch;
    const bool ended = forEachLine(bytes, [&](QByteArrayView line) {
        ++lines;
        if (lines > 1 && isAscii(line))
            return;
        scratch.resize(std::size_t(line.size()));
        const qsizetype length = decoder.decode(line, scratch.data());
        const bool readable = length >= 0;
        if (lines == 1) {
            if (!readable || QStringView(scratch.data(), length) != ResultsHeader)
                damagedLines.push_back(1);
        } else if (!readable) {
            damagedLines.push_back(lines);
        }
    });
    if (!bytes.isEmpty())
        terminated = ended;
}

LineFacts lineFactsOf(QByteArrayView bytes)
{
    LineFacts facts;
    facts.add(bytes);
    return facts;
}

namespace {

// The bytes that go after a file of the given lines (never none: a file starts with at least the
// header) to append the record, and what appending them does.
AppendedBytes appendedTail(const LineFacts &facts, const QString &dateText, int problemNumber,
                           const SlotCodes &codes, int elapsedSeconds)
{
    AppendedBytes out;
    const qsizetype lines = facts.lines;
    const bool terminated = facts.terminated;
    out.result.damagedLines = facts.damagedLines;

    const auto line =
        encodeCp932(recordLine(int(lines - 1), dateText, problemNumber, codes, elapsedSeconds));
    if (!line) {
        out.result.error = unwritable(QStringLiteral("記録に書けない文字があります。"));
        out.result.damagedLines.clear();
        return out;
    }
    if (!terminated)
        out.bytes += "\r\n";
    out.bytes += *line + "\r\n";
    out.result.recordNumber = int(lines - 1);

    const auto &damaged = out.result.damagedLines;
    if (!damaged.empty()) {
        QString notice =
            QStringLiteral("成績は記録しましたが、成績ファイルに壊れた行があります。\n");
        if (damaged.front() == 1)
            notice += QStringLiteral("1行目が見出しの行ではありません。\n");
        std::vector<qsizetype> unreadable(damaged.begin() + (damaged.front() == 1 ? 1 : 0),
                                          damaged.end());
        if (!unreadable.empty())
            notice +=
                QStringLiteral("%1行目に読めない文字があります。\n").arg(lineList(unreadable));
        notice += QStringLiteral("壊れた行もそのまま残してあります。");
        out.result.notice = notice;
    }
    return out;
}

} // namespace

AppendedBytes appendToBytes(const QByteArray &existing, const QString &dateText, int problemNumber,
                            const SlotCodes &codes, int elapsedSeconds)
{
    // A file that went missing, or lost even its header, starts again with the header, so the
    // attempt just scored is kept rather than lost.
    const QByteArray start = existing.isEmpty() ? encodedHeader() + "\r\n" : existing;
    AppendedBytes out =
        appendedTail(lineFactsOf(start), dateText, problemNumber, codes, elapsedSeconds);
    if (out.result.saved())
        out.bytes.prepend(start);
    return out;
}

namespace {

// appendRecord() once the lock is held and the leftovers of a crash are gone.
AppendResult appendLocked(const QString &path, const QString &dateText, int problemNumber,
                          const SlotCodes &codes, int elapsedSeconds)
{
    AppendResult failed;
    // Only what appending needs is gathered, a block at a time: a long history is never held.
    LineFacts facts;
    qint64 length = 0;
    if (QFileInfo::exists(path)) {
        const QString error = lineFactsOfFile(path, &facts, &length);
        if (!error.isEmpty()) {
            failed.error = unwritable(error);
            return failed;
        }
    }
    try {
        // The usual case: the new line goes after the file's bytes where they lie, so an attempt
        // costs the same however long the history is.
        if (length > 0) {
            AppendedBytes tail =
                appendedTail(facts, dateText, problemNumber, codes, elapsedSeconds);
            if (!tail.result.saved())
                return tail.result;
            const InPlaceAppendResult appended = appendInPlace(path, length, tail.bytes);
            if (appended.ok())
                return tail.result;
            if (!appended.rewriteInstead) {
                failed.error = unwritable(appended.error);
                return failed;
            }
            // The file could not be appended to where it lies but was left untouched: it is
            // written afresh instead, as a file that went missing is.
        }
        QByteArray existing;
        if (length > 0) {
            QString error;
            auto bytes = readBytes(path, &error);
            if (!bytes) {
                failed.error = unwritable(error);
                return failed;
            }
            existing = std::move(*bytes);
        }
        AppendedBytes composed =
            appendToBytes(existing, dateText, problemNumber, codes, elapsedSeconds);
        if (!composed.result.saved())
            return composed.result;
        const QString error = writeFileAtomically(path, composed.bytes);
        if (!error.isEmpty()) {
            failed.error = unwritable(error);
            return failed;
        }
        return composed.result;
    } catch (const std::bad_alloc &) {
        failed.error = unwritable(tooLarge(path));
        return failed;
    }
}

} // namespace

AppendResult appendRecord(const QString &path, const QString &dateText, int problemNumber,
                          const SlotCodes &codes, int elapsedSeconds)
{
    AppendResult failed;
    // Held from reading the file to the end of the write: another writer's record between the
    // two would be lost, or numbered twice.
    const WriteLock lock(path);
    if (!lock.ok()) {
        failed.error = unwritable(lock.error());
        return failed;
    }
    // What a crash left of an earlier append goes first; it was never reported as saved.
    QString rejectedNote;
    const QString undone = undoUnfinishedAppend(path, &rejectedNote);
    if (!undone.isEmpty()) {
        failed.error = unwritable(undone);
        return failed;
    }
    AppendResult result = appendLocked(path, dateText, problemNumber, codes, elapsedSeconds);
    result.rejectedNote = rejectedNote;
    return result;
}

QString append(const QString &path, const QString &dateText, int problemNumber,
               const SlotCodes &codes, int elapsedSeconds)
{
    const AppendResult result = appendRecord(path, dateText, problemNumber, codes, elapsedSeconds);
    return result.saved() ? result.notice : result.error;
}

namespace {

ResultsReadResult parseRecords(QByteArrayView bytes, qsizetype linesBefore)
{
    ResultsReadResult result;
    if (bytes.size() > MaxFileBytes) {
        result.error = unreadable(QStringLiteral("ファイルが大きすぎます。"));
        return result;
    }
    ResultsRecords &records = result.records;
    // No code page 932 character takes more than one UTF-16 unit, so the bytes' count is room
    // enough for all of the text.
    char16_t *const text = records.reserveText(bytes.size());
    Cp932Decoder decoder;
    qsizetype lineNumber = linesBefore;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (++lineNumber == 1)
            return;
        char16_t *out = text + records.textEnd();
        if (isAscii(line)) {
            // Nearly every line: fields are split from the bytes and widened as they are copied.
            const char *const s = line.data();
            splitRecord(s, line.size(), [&](qsizetype begin, qsizetype end, bool quoted) {
                for (qsizetype k = begin; k < end; ++k) {
                    *out++ = char16_t(uchar(s[k]));
                    if (quoted && s[k] == '"')
                        ++k; // the second of a doubled quote
                }
                records.addField(out - text);
                return true;
            });
        } else {
            // The line is decoded where its fields will be kept, then the fields are moved down
            // over the separators and quotes; the write position never passes the read position.
            char16_t *const lineText = out;
            const qsizetype length = decoder.decode(line, lineText);
            if (length < 0) {
                result.unreadableLines.push_back(lineNumber);
                return;
            }
            splitRecord(lineText, length, [&](qsizetype begin, qsizetype end, bool quoted) {
                for (qsizetype k = begin; k < end; ++k) {
                    *out++ = lineText[k];
                    if (quoted && lineText[k] == Quote)
                        ++k;
                }
                records.addField(out - text);
                return true;
            });
        }
        records.endRecord(lineNumber);
    });
    records.finish();
    return result;
}

} // namespace

ResultsReadResult parse(QByteArrayView bytes)
{
    return parseLines(bytes, 0);
}

ResultsReadResult parseLines(QByteArrayView bytes, qsizetype linesBefore)
{
    // A file near the size limit may still need more memory than the machine will give; that is
    // reported like any other unreadable file rather than ending the program.
    try {
        return parseRecords(bytes, linesBefore);
    } catch (const std::bad_alloc &) {
        ResultsReadResult failed;
        failed.error = unreadable(QStringLiteral("ファイルが大きすぎます。"));
        return failed;
    }
}

ResultsReadResult read(const QString &path)
{
    QString error;
    const auto bytes = readBytes(path, &error);
    if (!bytes) {
        ResultsReadResult failed;
        failed.error = unreadable(error);
        return failed;
    }
    return parse(*bytes);
}

namespace {

// Counts the lines of bytes that follow `lines` lines of a file into counts, and *lines on.
void countLinesInto(Counts &counts, qsizetype *lines, QByteArrayView bytes, const TodayDate &today)
{
    Cp932Decoder decoder;
    std::vector<char16_t> date;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (++*lines == 1)
            return;
        int field = 0;
        // Only the date is split out and decoded; the rest of the line is never looked at.
        splitRecord(line.data(), line.size(), [&](qsizetype begin, qsizetype end, bool quoted) {
            if (field++ == 0)
                return true;
            date.resize(std::size_t(end - begin));
            qsizetype length = decoder.decode(line.sliced(begin, end - begin), date.data());
            if (length >= 0 && quoted)
                length = collapseDoubledQuotes(date.data(), length);
            if (length >= 0 && isRecordOfToday(QStringView(date.data(), length), today))
                ++counts.today;
            return false;
        });
    });
}

} // namespace

Counts countBytes(QByteArrayView bytes, const TodayDate &today)
{
    Counts counts;
    qsizetype lines = 0;
    countLinesInto(counts, &lines, bytes, today);
    // A file without even its header holds no records, just like a header alone.
    counts.records = int(std::max<qsizetype>(0, lines - 1));
    return counts;
}

Counts count(const QString &path, const TodayDate &today)
{
    // A block at a time: the sheet printed after a scoring never holds the history.
    Counts counts;
    qsizetype lines = 0;
    const QString error = readLineRuns(
        path, [&](QByteArrayView run, qsizetype) { countLinesInto(counts, &lines, run, today); },
        [&](qsizetype lineNumber) { lines = lineNumber; });
    if (!error.isEmpty()) {
        Counts failed;
        failed.error = error;
        return failed;
    }
    counts.records = int(std::max<qsizetype>(0, lines - 1));
    return counts;
}

} // namespace ResultsFile

} // namespace queldo
