// The command line: whatever it holds, the program either runs, with no folder or with one that
// exists, or answers with a text ending in a line end and does nothing else.
#include "FuzzSupport.h"
#include "core/app/StartOptions.h"

#include <QFileInfo>

using namespace queldo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Arguments as the system hands them over: byte strings that hold no NUL, read as main
    // reads them.
    QStringList arguments{QStringLiteral("queldo")};
    for (const QByteArray &argument : fuzz::bytesOf(data, size).split('\0'))
        arguments << QString::fromLocal8Bit(argument);
    const StartOptions options = parseStartOptions(arguments, fuzz::scratch().path());
    if (options.action == StartOptions::Action::Run) {
        fuzz::require(options.text.isEmpty(), "a run prints nothing");
        fuzz::require(options.folder.isEmpty() || (QFileInfo(options.folder).isAbsolute() &&
                                                   QFileInfo(options.folder).isDir()),
                      "a named folder is an existing folder, named absolutely");
    } else {
        fuzz::require(options.text.endsWith(QLatin1Char('\n')), "an answer ends in a line end");
        fuzz::require(options.folder.isEmpty(), "an answer names no folder");
    }
    return 0;
}
