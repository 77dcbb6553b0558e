// A trainee's results file: read, counted and appended to, as scoring and the grade analysis do.
#include "FuzzSupport.h"
#include "core/results/ResultsFile.h"

#include <QFile>

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = fuzz::scratch().filePath(QStringLiteral("Taro.kek"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const QString today = QStringLiteral("2024/05/01");
    const ResultsReadResult read = ResultsFile::read(path);
    const ResultsFile::Counts counts = ResultsFile::count(path, today);
    if (read.ok())
        fuzz::require(counts.today <= counts.records, "today's records are among all records");

    std::array<int, 46> codes{};
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = int(i % 4) - 2;
    if (ResultsFile::append(path, today, 7, codes, 123).isEmpty()) {
        const ResultsReadResult after = ResultsFile::read(path);
        fuzz::require(!after.records.empty(), "an appended attempt can be read back");
        const QStringList &last = after.records.back().fields;
        fuzz::require(last.size() == 50 && last.at(2) == u"007" && last.at(49) == u"123",
                      "the appended attempt is the last record, whole");
    }
    return 0;
}
