// Code page 932 text, the layer under every text file of the program.
#include "FuzzSupport.h"
#include "core/text/Cp932Text.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto text = decodeCp932(fuzz::bytesOf(data, size));
    if (!text)
        return 0;
    const QStringList lines = splitLines(*text);
    qsizetype characters = 0;
    for (const QString &line : lines) {
        fuzz::require(!line.contains(u'\r') && !line.contains(u'\n'), "no line end within a line");
        characters += line.size();
    }
    fuzz::require(characters <= text->size(), "splitting adds nothing");
    // What was read can be written again and reads the same.
    const auto bytes = encodeCp932(*text);
    fuzz::require(bytes.has_value(), "decoded text encodes again");
    fuzz::require(decodeCp932(*bytes) == *text, "decoded text survives a round trip");
    return 0;
}
