// A trainee's arrangement file: read as the confusion window reads it, and appended to as the
// first scoring of a problem does.
#include "FuzzSupport.h"
#include "core/results/ArrangementFile.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const ArrangementFile::ReadResult read = ArrangementFile::parse(bytes);
    for (const ArrangementLine &line : read.lines) {
        std::uint64_t seen = 0;
        for (const PlacedPiece &placed : line.places) {
            fuzz::require(placed.piece >= -1 && placed.piece < 46 && placed.rotationStep >= 0 &&
                              placed.rotationStep < 24,
                          "every piece and turn read is one the board can hold");
            if (placed.piece >= 0) {
                fuzz::require(!(seen >> placed.piece & 1), "no piece lies in two places");
                seen |= std::uint64_t(1) << placed.piece;
            }
        }
    }

    ArrangementLine next;
    next.recordNumber = 5;
    next.date = QStringLiteral("2024/05/01");
    next.problemNumber = 7;
    for (int s = 0; s < 46; ++s)
        next.places[std::size_t(s)] = {45 - s, s % 24};
    const QByteArray appended = ArrangementFile::appendToBytes(bytes, next);
    fuzz::require(appended.startsWith(bytes) || bytes.isEmpty(),
                  "appending keeps every earlier byte");
    const ArrangementFile::ReadResult after = ArrangementFile::parse(appended);
    fuzz::require(after.ok() && !after.lines.empty(), "an appended line can be read back");
    const ArrangementLine &last = after.lines.back();
    fuzz::require(last.recordNumber == 5 && last.problemNumber == 7 && last.places == next.places,
                  "the appended line is the last, whole");
    return 0;
}
