// A trainee's abnormal attempts file: read as the grade window reads it, and its attempts
// written back as lines that read the same.
#include "FuzzSupport.h"
#include "core/results/AbnormalAttemptsFile.h"
#include "core/results/AbnormalStatistics.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const AbnormalAttemptsFile::ReadResult read = AbnormalAttemptsFile::parse(bytes);
    fuzz::require(read.ok() || (read.attempts.empty() && read.damagedLines.empty()),
                  "a file refused whole yields nothing half-read");
    QByteArray rewritten = "QUELDO-KRY\t1\r\n";
    for (const AbnormalAttempt &attempt : read.attempts) {
        fuzz::require(attempt.verdicts.size() <= 96 && attempt.parts.size() <= 32,
                      "a line read is one a board and a karyotype can have");
        for (const KaryotypePart &part : attempt.parts)
            fuzz::require(part.credit >= 0.0 && part.credit <= 1.0, "every credit is 0 to 1");
        rewritten += AbnormalAttemptsFile::lineText(attempt).toUtf8() + "\r\n";
    }
    const AbnormalAttemptsFile::ReadResult again = AbnormalAttemptsFile::parse(rewritten);
    fuzz::require(again.ok() && again.damagedLines.empty() &&
                      again.attempts.size() == read.attempts.size(),
                  "every attempt read is written back as a line that reads");
    const AbnormalStatistics statistics = AbnormalStatistics::compute(read.attempts);
    fuzz::require(statistics.namedRight <= statistics.attempts,
                  "no more named right than attempted");
    return 0;
}
