// Writes a made-up class into a Result folder, for trying the teacher's view:
//   queldo_classgen <Result folder> [trainees] [attempts per trainee] [seed]
// Attempts 0 (the default) gives each trainee a number of their own.

#include "classgenerator.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const char *usage = "usage: queldo_classgen <Result folder> [trainees] [attempts] [seed]\n";
    if (args.value(0) == QStringLiteral("-h") || args.value(0) == QStringLiteral("--help")) {
        std::fputs(usage, stdout);
        return 0;
    }
    // No option is known but help: "--seed 3" written out of habit must not become a folder.
    if (args.isEmpty() || args.size() > 4 || args[0].startsWith(u'-')) {
        std::fputs(usage, stderr);
        return 2;
    }
    classgen::ClassOptions options;
    bool ok = true;
    if (args.size() > 1)
        options.trainees = args[1].toInt(&ok);
    if (ok && args.size() > 2)
        options.attempts = args[2].toInt(&ok);
    if (ok && args.size() > 3)
        options.seed = args[3].toUInt(&ok);
    if (!ok || options.trainees < 0 || options.attempts < 0) {
        std::fprintf(stderr, "queldo_classgen: the counts must be whole numbers, 0 or more\n");
        return 2;
    }
    const QString error = classgen::writeClass(args[0], options);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "queldo_classgen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
