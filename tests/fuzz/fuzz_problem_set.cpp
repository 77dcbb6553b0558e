// The check-value file of a problem folder.
#include "FuzzSupport.h"
#include "core/board/ProblemFolder.h"
#include "core/text/Cp932Text.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto text = decodeCp932(fuzz::bytesOf(data, size));
    if (!text)
        return 0;
    // The loader keeps the third field of every line and compares it as a number.
    for (const QString &line : splitLines(*text))
        (void)checkValueField(line).trimmed().toInt();
    return 0;
}
