// Karyotypes typed by a trainee, and a problem's karyotype file made of the same bytes. Whatever
// is read must read back from its own normal spelling to the same karyotype, and score right
// against itself; a refused file gives nothing half-read.
#include "FuzzSupport.h"
#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeReader.h"
#include "core/karyotype/KaryotypeScore.h"
#include "core/karyotype/ProblemKaryotype.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const ProblemKaryotype file =
        readProblemKaryotype(fuzz::bytesOf(data, size), BandNames::embedded());
    fuzz::require(file.ok() || (file.karyotype == Karyotype{} && file.changedBitmaps.isEmpty()),
                  "a refused karyotype file gives nothing half-read");

    const QString typed = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const KaryotypeReading reading = readKaryotype(typed, BandNames::embedded());
    if (!reading.ok()) {
        fuzz::require(reading.karyotype == Karyotype{}, "a refused text gives no karyotype");
        return 0;
    }
    const KaryotypeReading again = readKaryotype(reading.karyotype.iscn(), BandNames::embedded());
    fuzz::require(again.ok() && again.karyotype == reading.karyotype,
                  "a karyotype reads back from its normal spelling");
    fuzz::require(scoreKaryotype(reading.karyotype, again.karyotype).right(),
                  "a karyotype scores right against itself");
    return 0;
}
