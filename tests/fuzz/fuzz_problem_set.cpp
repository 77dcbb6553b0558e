// The check-value file of a problem folder, of a normal cell or an abnormal one.
#include "FuzzSupport.h"
#include "core/board/AbnormalProblemLoader.h"
#include "core/board/ProblemFolder.h"
#include "core/text/Cp932Text.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto text = decodeCp932(fuzz::bytesOf(data, size));
    if (!text)
        return 0;
    // The loader keeps the third field of every line and compares it as a number.
    const QStringList lines = splitLines(*text);
    for (const QString &line : lines)
        (void)checkValueField(line).trimmed().toInt();
    const AbnormalListing listing =
        readAbnormalListing(QStringLiteral("fuzz"), lines, {QStringLiteral("21-3.bmp")});
    fuzz::require(listing.error.isEmpty() ==
                      (listing.pieces.size() >= 45 && listing.pieces.size() <= 47),
                  "an abnormal listing is taken only with 45 to 47 pictures");
    fuzz::require(listing.pieces.size() == listing.CheckValueList.size(),
                  "every picture of an abnormal listing keeps its check value");
    return 0;
}
