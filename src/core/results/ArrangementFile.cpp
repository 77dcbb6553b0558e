#include "core/results/ArrangementFile.h"

#include "core/board/ProblemFolder.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"
#include "core/text/InPlaceAppend.h"
#include "core/text/RegularFile.h"
#include "core/text/WriteLock.h"

#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <new>
#include <optional>

namespace queldo {

namespace {

QString makeHeader()
{
    QString header = QStringLiteral(" 試行No,日時,データファイル");
    for (int place = 1; place <= SlotCount; ++place)
        header += QStringLiteral(",%1,%1向き").arg(place);
    return header;
}

constexpr int FieldCount = 3 + 2 * SlotCount;

// Far beyond any history (a million attempts take about 250 MB); keeps a hostile file from
// exhausting memory.
constexpr qint64 MaxFileBytes = qint64(1) << 30;

// A decimal integer within [low, high], or nothing.
template <typename Unit> std::optional<int> number(const Unit *s, qsizetype n, int low, int high)
{
    qsizetype i = 0;
    const bool negative = n > 0 && s[0] == Unit('-');
    if (negative)
        ++i;
    if (i == n || n - i > 9)
        return std::nullopt;
    int value = 0;
    for (; i < n; ++i) {
        if (s[i] < Unit('0') || s[i] > Unit('9'))
            return std::nullopt;
        value = value * 10 + int(s[i] - Unit('0'));
    }
    if (negative)
        value = -value;
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// Builds a line from its fields, given as (pointer, length) pairs of one unit type; nothing when
// a field is out of range or a piece lies in two places.
template <typename Unit, typename FieldAt>
std::optional<ArrangementLine> lineFromFields(FieldAt &&fieldAt, QString date)
{
    ArrangementLine line;
    auto [s0, n0] = fieldAt(0);
    const auto record = number<Unit>(s0, n0, 0, 999999999);
    auto [s2, n2] = fieldAt(2);
    const auto problem = number<Unit>(s2, n2, 1, 999999999);
    if (!record || !problem || date.isEmpty())
        return std::nullopt;
    line.recordNumber = *record;
    line.problemNumber = *problem;
    line.date = std::move(date);
    std::uint64_t seen = 0;
    for (int place = 0; place < SlotCount; ++place) {
        auto [ps, pn] = fieldAt(3 + 2 * place);
        auto [rs, rn] = fieldAt(4 + 2 * place);
        const auto piece = number<Unit>(ps, pn, -1, PieceCount - 1);
        const auto step = number<Unit>(rs, rn, 0, RotationStepCount - 1);
        if (!piece || !step)
            return std::nullopt;
        if (*piece >= 0) {
            const std::uint64_t bit = std::uint64_t(1) << *piece;
            if (seen & bit)
                return std::nullopt;
            seen |= bit;
        }
        line.places[std::size_t(place)] = {*piece, *step};
    }
    return line;
}

// Nearly every line is plain ASCII separated by commas alone, as this program writes it; it is
// read straight from the bytes.
std::optional<ArrangementLine> parsePlainLine(QByteArrayView bytes)
{
    std::array<qsizetype, FieldCount + 1> start{};
    int fields = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != ',')
            continue;
        if (fields == FieldCount)
            return std::nullopt;
        start[std::size_t(fields++)] = i + 1;
    }
    if (fields != FieldCount)
        return std::nullopt;
    const char *s = bytes.data();
    auto fieldAt = [&](int j) {
        const qsizetype begin = start[std::size_t(j)];
        const qsizetype end = j + 1 < FieldCount ? start[std::size_t(j) + 1] - 1 : bytes.size();
        return std::pair{s + begin, end - begin};
    };
    auto [ds, dn] = fieldAt(1);
    return lineFromFields<char>(fieldAt, QString::fromLatin1(ds, dn));
}

// Anything else (a quoted date, blanks, other characters) goes by the results file's reading
// rule.
std::optional<ArrangementLine> parseOtherLine(const QString &text)
{
    const QStringList fields = ResultsFile::splitFields(text);
    if (fields.size() != FieldCount)
        return std::nullopt;
    auto fieldAt = [&](int j) {
        const QString &f = fields.at(j);
        return std::pair{reinterpret_cast<const char16_t *>(f.constData()), f.size()};
    };
    return lineFromFields<char16_t>(fieldAt, fields.at(1));
}

bool needsFullRule(QByteArrayView line)
{
    for (char c : line)
        if (uchar(c) >= 0x80 || uchar(c) <= 0x20 || c == '"')
            return true;
    return false;
}

const QByteArray &encodedHeader()
{
    static const QByteArray header = *encodeCp932(ArrangementHeader);
    return header;
}

QString unreadable(const QString &detail)
{
    return QStringLiteral("配置の記録を読めません。\n") + detail;
}

QString unwritable(const QString &detail)
{
    return QStringLiteral("配置の記録を残せませんでした。成績は記録されています。\n") + detail;
}

} // namespace

const QString ArrangementHeader = makeHeader();

namespace ArrangementFile {

Arrangement arrangementOf(const BoardState &board)
{
    Arrangement places{};
    for (int place = 0; place < SlotCount; ++place) {
        const int piece = board.SlotContents[std::size_t(place)];
        places[std::size_t(place)] = {piece,
                                      piece >= 0 ? board.RotationStep[std::size_t(piece)] : 0};
    }
    return places;
}

QString lineText(const ArrangementLine &line)
{
    QStringList fields;
    fields.reserve(FieldCount);
    fields << QString::number(line.recordNumber) << line.date
           << problemNumberText(line.problemNumber);
    for (const PlacedPiece &placed : line.places)
        fields << QString::number(placed.piece) << QString::number(placed.rotationStep);
    return ResultsFile::joinFields(fields);
}

QByteArray appendToBytes(const QByteArray &existing, const ArrangementLine &line)
{
    const auto encoded = encodeCp932(lineText(line));
    if (!encoded)
        return {};
    QByteArray bytes;
    if (existing.isEmpty() || line.recordNumber == 0) {
        bytes = encodedHeader() + "\r\n";
    } else {
        bytes = existing;
        if (!bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes += "\r\n";
    }
    bytes += *encoded + "\r\n";
    return bytes;
}

QString append(const QString &path, const ArrangementLine &line, QString *rejectedNote)
{
    const WriteLock lock(path);
    if (!lock.ok())
        return unwritable(lock.error());
    // What a crash left of an earlier append goes first; it was never reported as saved.
    if (const QString undone = undoUnfinishedAppend(path, rejectedNote); !undone.isEmpty())
        return unwritable(undone);
    const auto encoded = encodeCp932(lineText(line));
    if (!encoded)
        return unwritable(QStringLiteral("記録に書けない文字があります。"));

    // The usual case: the line goes after the file's bytes where they lie; only the last byte is
    // read, to know whether the last line was ended. The first record of a history replaces
    // whatever the file held, and a missing or empty file is started afresh.
    FileEnd end;
    if (line.recordNumber != 0 && QFileInfo::exists(path)) {
        end = readRegularFileEnd(path, 1);
        if (!end.ok())
            return unwritable(end.error);
        if (end.size > MaxFileBytes)
            return unwritable(QStringLiteral("ファイル %1 が大きすぎます。").arg(path));
    }
    if (end.size > 0) {
        const bool ended = end.last.endsWith('\n') || end.last.endsWith('\r');
        const QByteArray tail = (ended ? QByteArray() : QByteArray("\r\n")) + *encoded + "\r\n";
        const InPlaceAppendResult appended = appendInPlace(path, end.size, tail);
        if (appended.ok())
            return {};
        if (!appended.rewriteInstead)
            return unwritable(appended.error);
        // Left untouched but not appendable where it lies: written afresh below.
    }

    QByteArray existing;
    if (end.size > 0) {
        const FileBytes file = readRegularFile(path, MaxFileBytes);
        if (!file.ok())
            return unwritable(file.error);
        existing = file.bytes;
    }
    QByteArray bytes;
    try {
        bytes = appendToBytes(existing, line);
    } catch (const std::bad_alloc &) {
        return unwritable(QStringLiteral("ファイル %1 が大きすぎます。").arg(path));
    }
    const QString error = writeFileAtomically(path, bytes);
    return error.isEmpty() ? QString() : unwritable(error);
}

QString reset(const QString &path)
{
    const WriteLock lock(path);
    QString error = lock.ok() ? undoUnfinishedAppend(path) : lock.error();
    if (error.isEmpty())
        error = writeFileAtomically(path, encodedHeader() + "\r\n");
    return error.isEmpty() ? QString()
                           : QStringLiteral("配置の記録を消去できませんでした。\n") + error;
}

std::optional<ArrangementLine> parseLine(QByteArrayView line)
{
    if (!needsFullRule(line))
        return parsePlainLine(line);
    Cp932Decoder decoder;
    std::vector<char16_t> text(std::size_t(line.size()));
    const qsizetype length = decoder.decode(line, text.data());
    if (length < 0)
        return std::nullopt;
    return parseOtherLine(QString::fromUtf16(text.data(), length));
}

bool isHeaderLine(QByteArrayView line)
{
    return line == encodedHeader();
}

ReadResult parse(QByteArrayView bytes)
{
    ReadResult result;
    if (bytes.size() > MaxFileBytes) {
        result.error = unreadable(QStringLiteral("ファイルが大きすぎます。"));
        return result;
    }
    Cp932Decoder decoder;
    std::vector<char16_t> scratch;
    qsizetype lineNumber = 0;
    try {
        // A line is about 250 bytes; reserving from the size avoids regrowing a long history.
        result.lines.reserve(std::size_t(bytes.size() / 200));
        forEachLine(bytes, [&](QByteArrayView line) {
            ++lineNumber;
            std::optional<ArrangementLine> parsed;
            if (!needsFullRule(line)) {
                parsed = parsePlainLine(line);
            } else {
                scratch.resize(std::size_t(line.size()));
                const qsizetype length = decoder.decode(line, scratch.data());
                if (length >= 0) {
                    const auto text = QString::fromUtf16(scratch.data(), length);
                    if (lineNumber == 1) {
                        if (text != ArrangementHeader)
                            result.damagedLines.push_back(1);
                        return;
                    }
                    parsed = parseOtherLine(text);
                }
            }
            if (lineNumber == 1) {
                // The header always holds non-ASCII text, so it never comes this way.
                result.damagedLines.push_back(1);
                return;
            }
            if (parsed)
                result.lines.push_back(std::move(*parsed));
            else
                result.damagedLines.push_back(lineNumber);
        });
    } catch (const std::bad_alloc &) {
        ReadResult failed;
        failed.error = unreadable(QStringLiteral("ファイルが大きすぎます。"));
        return failed;
    }
    return result;
}

ReadResult read(const QString &path)
{
    // Only a regular file is read: a FIFO would hang the program and a device would never end.
    FileBytes file = readRegularFile(path, MaxFileBytes);
    if (!file.ok()) {
        ReadResult failed;
        failed.error = unreadable(file.error);
        return failed;
    }
    // What an interrupted append had begun to write was never reported as saved.
    file.bytes.truncate(qsizetype(finishedLength(path, file.bytes.size())));
    return parse(file.bytes);
}

} // namespace ArrangementFile

} // namespace queldo
