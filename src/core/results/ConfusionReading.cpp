#include "core/results/ConfusionReading.h"

#include "core/results/ResultsBlocks.h"
#include "core/results/ResultsRecordLayout.h"
#include "core/text/Cp932Text.h"
#include "core/text/InPlaceAppend.h"
#include "core/text/LineBlocks.h"
#include "core/text/RegularFile.h"

#include <array>
#include <limits>
#include <optional>

namespace queldo {

namespace {

using namespace ResultsRecordLayout;

// The attempts of the results file, as matchAttempts() lists its records; a date repeated from
// the record before shares its text.
class AttemptScan
{
public:
    std::vector<AttemptEntry> attempts;
    qsizetype lastRecordNumber = -1; // of the last line read as a record, well-formed or not

    void addLine(QByteArrayView line, qsizetype lineNumber)
    {
        const PlainLine form = m_fields.split(line);
        if (form == PlainLine::Other) {
            addOther(line, lineNumber);
            return;
        }
        lastRecordNumber = lineNumber - 2;
        if (form == PlainLine::Record)
            addPlain(lineNumber);
    }

private:
    PlainFields m_fields;

    void addPlain(qsizetype lineNumber)
    {
        const PlainFields &fields = m_fields;
        const auto problem = fields.integer(ProblemField);
        if (!problem)
            return;
        int correct = 0;
        for (int s = 0; s < SlotCount; ++s)
            correct += fields.length(placeField(s)) == 1 && *fields.at(placeField(s)) == '1';
        const QLatin1StringView date(fields.at(DateField), fields.length(DateField));
        if (m_lastDate != date)
            m_lastDate = date;
        attempts.push_back({int(lineNumber - 2), m_lastDate, *problem, correct, -1});
    }

    // Anything else goes by the results file's own reading rule.
    void addOther(QByteArrayView line, qsizetype lineNumber)
    {
        const ResultsReadResult read = ResultsFile::parseLines(line, lineNumber - 1);
        if (read.records.isEmpty())
            return; // not code page 932: not a record, though it kept its number
        lastRecordNumber = lineNumber - 2;
        if (read.records.fieldCount(0) != FieldCount)
            return;
        const ResultsRecords::Fields fields = read.records.fields(0);
        bool ok = false;
        const int problem = fields[ProblemField].toInt(&ok);
        if (!ok)
            return;
        int correct = 0;
        for (int s = 0; s < SlotCount; ++s)
            correct += fields[placeField(s)] == u"1";
        attempts.push_back(
            {int(lineNumber - 2), fields[DateField].toString(), problem, correct, -1});
    }

    QString m_lastDate;
};

QString readAttempts(const QString &path, AttemptScan &scan)
{
    return ResultsFile::readLineRuns(
        path,
        [&](QByteArrayView run, qsizetype linesBefore) {
            qsizetype lineNumber = linesBefore;
            forEachLine(run, [&](QByteArrayView line) {
                if (++lineNumber > 1)
                    scan.addLine(line, lineNumber);
            });
        },
        [](qsizetype) {});
}

// The line that begins at offset, without its line end; nothing when it cannot be read.
std::optional<QByteArray> lineAt(const QString &path, qint64 offset)
{
    RegularFileReader file;
    if (!file.open(path) || !file.seek(offset))
        return std::nullopt;
    QByteArray bytes;
    char chunk[4096];
    for (;;) {
        const qint64 got = file.read(chunk, sizeof chunk);
        if (got < 0 || bytes.size() > (1 << 20))
            return std::nullopt;
        bytes.append(chunk, qsizetype(got));
        if (got == 0 || bytes.contains('\n') || bytes.contains('\r'))
            break;
    }
    qsizetype end = 0;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
        ++end;
    return bytes.left(end);
}

} // namespace

ConfusionData readConfusions(const QString &resultsPath, const QString &arrangementPath,
                             const QStringList &problemList, const TodayDate &today)
{
    ConfusionData data;
    AttemptScan scan;
    data.resultsError = readAttempts(resultsPath, scan);
    if (!data.resultsError.isEmpty())
        return data;
    data.attempts = std::move(scan.attempts);

    // The attempt each record number belongs to; the last line of a number wins, as an erase
    // that left older lines behind would leave them before the present history's.
    std::vector<int> byNumber(std::size_t(scan.lastRecordNumber + 1), -1);
    for (std::size_t a = 0; a < data.attempts.size(); ++a)
        byNumber[std::size_t(data.attempts[a].recordNumber)] = int(a);
    const InstalledSexes sexes(problemList);
    std::vector<qint64> superseded;
    ArrangementFile::LineReader reader;
    qint64 length = 0;
    const auto addLine = [&](QByteArrayView bytes, qsizetype lineNumber, qint64 offset) {
        if (lineNumber == 1) {
            if (!ArrangementFile::isHeaderLine(bytes))
                data.damagedLines.push_back(1);
            return;
        }
        // A line still without its line end may be one being appended this moment.
        if (offset + bytes.size() == length)
            return;
        const ArrangementLine *line = reader.read(bytes);
        if (!line) {
            data.damagedLines.push_back(lineNumber);
            return;
        }
        if (std::size_t(line->recordNumber) >= byNumber.size())
            return; // no record of this history can carry it
        const int a = byNumber[std::size_t(line->recordNumber)];
        if (a < 0)
            return;
        AttemptEntry &attempt = data.attempts[std::size_t(a)];
        if (attempt.arrangement >= 0) {
            superseded.push_back(data.lineOffsets[std::size_t(attempt.arrangement)]);
            attempt.arrangement = -1;
        }
        if (line->problemNumber != attempt.problemNumber || line->date != attempt.date)
            return;
        attempt.arrangement = int(data.lineOffsets.size());
        data.lineOffsets.push_back(offset);
        countArrangement(data.counts, *line, sexes, today);
    };
    const QString error = forEachLineBlock(
        arrangementPath,
        [&](qint64 size) {
            length =
                size > ResultsFile::MaxBlockReadBytes ? 0 : finishedLength(arrangementPath, size);
            return length;
        },
        [&](QByteArrayView run, qsizetype linesBefore, qint64 offset) {
            qsizetype lineNumber = linesBefore;
            forEachLine(run, [&](QByteArrayView line) {
                addLine(line, ++lineNumber, offset + (line.data() - run.data()));
            });
        },
        [&](qsizetype lineNumber) { data.damagedLines.push_back(lineNumber); });
    if (!error.isEmpty()) {
        // A missing or unreadable arrangement file only leaves every attempt without data.
        for (AttemptEntry &attempt : data.attempts)
            attempt.arrangement = -1;
        data.lineOffsets.clear();
        data.counts = ConfusionCounts();
        data.damagedLines.clear();
        superseded.clear();
    }
    // Lines a later line of the same number replaced were counted as they came: out again.
    for (qint64 offset : superseded) {
        const auto bytes = lineAt(arrangementPath, offset);
        const auto line = bytes ? ArrangementFile::parseLine(*bytes) : std::nullopt;
        if (line)
            countArrangement(data.counts, *line, sexes, today, -1);
    }
    for (const AttemptEntry &attempt : data.attempts)
        data.withoutArrangement += attempt.arrangement < 0;
    return data;
}

ReplayLine readAttemptArrangement(const QString &arrangementPath, const ConfusionData &data,
                                  const AttemptEntry &attempt)
{
    ReplayLine replay;
    const auto index = std::size_t(attempt.arrangement);
    if (attempt.arrangement >= 0 && index < data.lines.size()) {
        replay.line = data.lines[index];
        return replay;
    }
    std::optional<ArrangementLine> line;
    if (attempt.arrangement >= 0 && index < data.lineOffsets.size())
        if (const auto bytes = lineAt(arrangementPath, data.lineOffsets[index]))
            line = ArrangementFile::parseLine(*bytes);
    if (!line || line->recordNumber != attempt.recordNumber ||
        line->problemNumber != attempt.problemNumber || line->date != attempt.date) {
        replay.error = QStringLiteral("配置の記録が変わったため、この試行を再現できません。"
                                      "取り違えを開き直してください。");
        return replay;
    }
    replay.line = *line;
    return replay;
}

} // namespace queldo
