// A trainee's results file: read, counted and appended to, as scoring and the grade analysis do.
#include "FuzzSupport.h"
#include "core/results/GradeStatistics.h"
#include "core/results/ResultsFile.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const TodayDate today(QStringLiteral("2024/05/01"));
    const ResultsReadResult read = ResultsFile::parse(bytes);
    const ResultsFile::Counts counts = ResultsFile::countBytes(bytes, today);
    if (read.ok() && counts.error.isEmpty())
        fuzz::require(counts.today <= counts.records, "today's records are among all records");
    for (qsizetype r = 0; r < read.records.size(); ++r)
        for (qsizetype j = 0; j < read.records.fieldCount(r); ++j)
            (void)read.records.field(r, j).size();

    // The grade analysis reads the lines straight from the file's bytes: the same figures as from
    // the records.
    const QStringList problems{QStringLiteral("正常女性染色体核型no1"),
                               QStringLiteral("正常男性染色体核型no2")};
    GradeTally tally(today, problems);
    tally.addLines(bytes, 0);
    const GradeStatistics fromLines = tally.finish(true);
    if (read.ok()) {
        const GradeStatistics fromRecords = GradeStatistics::compute(read, today, problems);
        fuzz::require(fromLines.TodayReport == fromRecords.TodayReport &&
                          fromLines.OverallReport == fromRecords.OverallReport &&
                          fromLines.linesLeftOut == fromRecords.linesLeftOut &&
                          fromLines.accuracyPerAttempt == fromRecords.accuracyPerAttempt &&
                          fromLines.secondsPerAttempt == fromRecords.secondsPerAttempt,
                      "the figures read from the lines are those of the records");
    }

    std::array<int, 46> codes{};
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = int(i % 4) - 2;
    const ResultsFile::AppendedBytes appended =
        ResultsFile::appendToBytes(bytes, today.written, 7, codes, 123);
    if (!appended.result.saved())
        return 0;
    // Earlier bytes stay as they were, and the new attempt is the last record, whole.
    fuzz::require(appended.bytes.startsWith(bytes) || bytes.isEmpty(),
                  "appending keeps every earlier byte");
    const ResultsReadResult after = ResultsFile::parse(appended.bytes);
    fuzz::require(after.ok() && !after.records.isEmpty(), "an appended attempt can be read back");
    const QStringList last = after.records.at(after.records.size() - 1).fields;
    fuzz::require(last.size() == 50 && last.at(2) == u"007" && last.at(49) == u"123",
                  "the appended attempt is the last record, whole");
    return 0;
}
