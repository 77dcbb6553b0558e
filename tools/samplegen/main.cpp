#include "samplegenerator.h"
#include "samplegeneratoroptions.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("queldo_samplegen"));

    SampleGeneratorOptions options;
    const SampleGeneratorOptions::ParseResult parsed = options.parse(app.arguments());
    if (parsed.helpRequested) {
        std::fputs(qPrintable(parsed.message), stdout);
        return 0;
    }
    if (!parsed.ok) {
        std::fprintf(stderr, "queldo_samplegen: %s\n", qPrintable(parsed.message));
        return 2;
    }
    SampleGenerator generator(options);
    if (!generator.run()) {
        std::fprintf(stderr, "queldo_samplegen: %s\n", qPrintable(generator.errorString()));
        return 1;
    }
    return 0;
}
