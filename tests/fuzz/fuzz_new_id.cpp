// IDs typed into the new-ID dialog. Every ID accepted must live on disk in its tidy form: its
// folder, its three files and the temporary names of their saves, listed back exactly; and the
// tidy form must be a fixed point, so that the ID typed again is recognised as the same.
#include "FuzzSupport.h"
#include "core/app/NewUserId.h"
#include "core/app/UserIdForm.h"
#include "core/app/UserList.h"
#include "core/text/Cp932Text.h"

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // UTF-16 code units, so that lone surrogates and every plane can be typed.
    const QString typed(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    const QString key = userIdKey(typed);
    fuzz::require(userIdKey(key) == key, "the comparison form of an ID is its own");
    if (!idRefusal(typed).isEmpty())
        return 0;

    const QString id = tidyUserId(typed);
    fuzz::require(tidyUserId(id) == id && idRefusal(id).isEmpty(),
                  "an accepted ID in its tidy form is accepted unchanged");
    fuzz::require(userIdKey(id) == key, "an ID and its tidy form are one trainee");

    const auto bytes = encodeCp932(id);
    fuzz::require(bytes && decodeCp932(*bytes) == id, "an accepted ID is code page 932 text");
    const QDir result(fuzz::scratch().filePath(QStringLiteral("Result")));
    result.mkpath(QStringLiteral("."));
    fuzz::require(result.mkdir(id), "an accepted ID can be a folder");
    const QDir folder(result.filePath(id));
    for (const char *extension : {".kek", ".pas", ".set"})
        fuzz::require(
            writeFileAtomically(folder.filePath(id + QLatin1String(extension)), "x\r\n").isEmpty(),
            "every file of an accepted ID can be saved");
    fuzz::require(UserList::read(result.path()).ids() == QStringList{id},
                  "an accepted ID comes back in the user list as typed");
    QDir(folder).removeRecursively();
    return 0;
}
