#pragma once

#include "core/board/BoardState.h"
#include "core/board/Karyogram.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace queldo {

/// What lay in one place when an attempt was first scored.
struct PlacedPiece
{
    int piece = -1;       ///< 0 to 45, -1 for an empty place
    int rotationStep = 0; ///< the piece's RotationStep, 0 for an empty place
    bool operator==(const PlacedPiece &) const = default;
};

using Arrangement = std::array<PlacedPiece, SlotCount>;

/// One line of the arrangement file: the results record it belongs to (the same number, date and
/// problem number) and the 46 places.
struct ArrangementLine
{
    int recordNumber = 0;
    QString date;
    int problemNumber = 0;
    Arrangement places{};
};

/// The fixed first line of every arrangement file.
extern const QString ArrangementHeader;

/// The per-user file Result/ID/ID.arr that keeps what went where at each first scoring, beside
/// the results file, whose bytes stay exactly as they are. Written whole and atomically, code
/// page 932 with CR LF, like the results file.
namespace ArrangementFile {

/// The places of a board as scoring sees them.
Arrangement arrangementOf(const BoardState &board);

/// The text of a line, without its line end: record number, date, problem number ("%.3d"), then
/// for each place its piece and its step.
QString lineText(const ArrangementLine &line);

/// The bytes after appending a line to a file holding `existing`, which stay exactly as they
/// are. A file that went missing or lost its header starts again with the header; so does one
/// whose attempts were erased with the results (the record is then the first again, numbered 0),
/// as its old lines belong to no record any more.
QByteArray appendToBytes(const QByteArray &existing, const ArrangementLine &line);
/// Appends one line, with the bytes appendToBytes() would compose: in place, like a results
/// record, or written afresh atomically when the history starts again. Empty on success,
/// otherwise why not. *rejectedNote, when given, says so when a note that did not belong to the
/// file was moved aside.
QString append(const QString &path, const ArrangementLine &line, QString *rejectedNote = nullptr);
/// Writes the header alone, as erasing all grades leaves the results file.
QString reset(const QString &path);

struct ReadResult
{
    std::vector<ArrangementLine> lines;
    /// Lines (the header is line 1) that were not read: a lost header, bytes that are not code
    /// page 932, a wrong field count, numbers out of range or a piece lying in two places.
    std::vector<qsizetype> damagedLines;
    QString error; ///< the file could not be read at all (missing, say)
    bool ok() const { return error.isEmpty(); }
};

/// Reads the lines after the header one at a time into a line it keeps, for a reader that counts
/// them as they come and keeps none: nothing is allocated for a line but a new day's date.
class LineReader
{
public:
    /// One line without its line end; nullptr when it is damaged. Valid until the next read.
    const ArrangementLine *read(QByteArrayView bytes);

private:
    ArrangementLine m_line;
    QByteArray m_dateBytes; ///< what m_line.date was read from
    std::vector<char16_t> m_text;
};

/// One line after the header, without its line end; nothing when it is damaged.
std::optional<ArrangementLine> parseLine(QByteArrayView line);
/// Whether a first line is the header.
bool isHeaderLine(QByteArrayView line);

/// Reads every line after the header; a plain function of bytes.
ReadResult parse(QByteArrayView bytes);
/// Reads the file but for a last line without its line end, which may be still being written.
ReadResult read(const QString &path);

} // namespace ArrangementFile

} // namespace queldo
