// A trainee's password file, as the login reads and checks it.
#include "FuzzSupport.h"
#include "core/app/PasswordFile.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const StoredPassword stored =
        parsePasswordFile(fuzz::bytesOf(data, size), QStringLiteral("Taro.pas"));
    if (!stored.ok())
        return 0;
    if (!stored.line.startsWith(QStringLiteral("$argon2"))) {
        fuzz::require(passwordMatches(stored.line, stored.line), "a plain password matches itself");
        return 0;
    }
    // Whatever the file says, nothing beyond the program's own cost is let through to a check.
    const std::optional<HashCost> cost = hashCost(stored.line);
    fuzz::require(cost.has_value() && cost->memoryKiB <= 131072 && cost->passes <= 4,
                  "only hashes within the program's own cost are read");
    // Checking costs what the hash asks; keep the runs fast by checking the cheap ones only.
    if (cost->memoryKiB <= 64 && cost->passes <= 2)
        (void)passwordMatches(stored.line, QStringLiteral("pw"));
    return 0;
}
