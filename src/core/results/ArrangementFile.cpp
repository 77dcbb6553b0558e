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

// The fields of a line as this program writes nearly every one: plain ASCII separated by commas
// alone, read straight from the bytes in one pass, each field as it comes.
class PlainFields
{
public:
    explicit PlainFields(QByteArrayView bytes)
        : m_p(bytes.data()), m_end(bytes.data() + bytes.size())
    {
    }

    // The next field as a decimal integer within [low, high]; false when it is not one.
    bool number(int low, int high, int &value)
    {
        if (m_ended)
            return false;
        const char *s = m_p;
        const bool negative = s < m_end && *s == '-';
        if (negative)
            ++s;
        const char *const digits = s;
        int v = 0;
        for (; s < m_end && *s >= '0' && *s <= '9'; ++s) {
            if (s - digits == 9)
                return false;
            v = v * 10 + (*s - '0');
        }
        if (s == digits || !endField(s))
            return false;
        value = negative ? -v : v;
        return value >= low && value <= high;
    }

    // The next field as text, which must be plain and not empty.
    bool text(QByteArrayView &field)
    {
        if (m_ended)
            return false;
        const char *s = m_p;
        for (; s < m_end && *s != ','; ++s)
            if (uchar(*s) >= 0x80 || uchar(*s) <= 0x20 || *s == '"')
                return false;
        field = QByteArrayView(m_p, s - m_p);
        return !field.isEmpty() && endField(s);
    }

    bool atEnd() const { return m_ended; }

private:
    bool endField(const char *s)
    {
        if (s == m_end) {
            m_ended = true;
            return true;
        }
        if (*s != ',')
            return false;
        m_p = s + 1;
        return true;
    }

    const char *m_p;
    const char *const m_end;
    bool m_ended = false;
};

// Reads a plain line into line, whose date is kept when the bytes are those it was made from
// (dateBytes): a history has a few attempts a day. False when the line is not plain or damaged.
bool readPlainLine(QByteArrayView bytes, ArrangementLine &line, QByteArray &dateBytes)
{
    PlainFields fields(bytes);
    QByteArrayView date;
    if (!fields.number(0, 999999999, line.recordNumber) || !fields.text(date) ||
        !fields.number(1, 999999999, line.problemNumber))
        return false;
    std::uint64_t seen = 0;
    for (PlacedPiece &placed : line.places) {
        if (!fields.number(-1, PieceCount - 1, placed.piece) ||
            !fields.number(0, RotationStepCount - 1, placed.rotationStep))
            return false;
        if (placed.piece >= 0) {
            const std::uint64_t bit = std::uint64_t(1) << placed.piece;
            if (seen & bit)
                return false;
            seen |= bit;
        }
    }
    if (!fields.atEnd())
        return false;
    if (date != dateBytes) {
        dateBytes = date.toByteArray();
        line.date = QString::fromLatin1(date);
    }
    return true;
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

const ArrangementLine *LineReader::read(QByteArrayView bytes)
{
    if (readPlainLine(bytes, m_line, m_dateBytes))
        return &m_line;
    if (!needsFullRule(bytes))
        return nullptr;
    m_dateBytes.clear();
    m_text.resize(std::size_t(bytes.size()));
    const qsizetype length = Cp932Decoder().decode(bytes, m_text.data());
    if (length < 0)
        return nullptr;
    std::optional<ArrangementLine> line = parseOtherLine(QString::fromUtf16(m_text.data(), length));
    if (!line)
        return nullptr;
    m_line = std::move(*line);
    return &m_line;
}

std::optional<ArrangementLine> parseLine(QByteArrayView line)
{
    LineReader reader;
    const ArrangementLine *read = reader.read(line);
    return read ? std::optional(*read) : std::nullopt;
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
    LineReader reader;
    qsizetype lineNumber = 0;
    try {
        // A line is about 250 bytes; reserving from the size avoids regrowing a long history.
        result.lines.reserve(std::size_t(bytes.size() / 200));
        forEachLine(bytes, [&](QByteArrayView line) {
            if (++lineNumber == 1) {
                if (!isHeaderLine(line))
                    result.damagedLines.push_back(1);
            } else if (const ArrangementLine *read = reader.read(line)) {
                result.lines.push_back(*read);
            } else {
                result.damagedLines.push_back(lineNumber);
            }
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
    // What an interrupted append had begun to write was never reported as saved, and a line
    // still without its line end may be one being appended this moment: counted whole or not
    // at all.
    qsizetype end = qsizetype(finishedLength(path, file.bytes.size()));
    while (end > 0 && file.bytes[end - 1] != '\n' && file.bytes[end - 1] != '\r')
        --end;
    file.bytes.truncate(end);
    return parse(file.bytes);
}

} // namespace ArrangementFile

} // namespace queldo
