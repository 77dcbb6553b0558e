#include "samplegeneratoroptions.h"

#include <QCommandLineParser>

SampleGeneratorOptions::ParseResult SampleGeneratorOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the ten sample karyotype problems (chromosome bitmaps and .set "
                       "listings) into an images folder."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("Images folder to write into."),
                                       QStringLiteral("folder"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Base seed (default %1).").arg(DefaultSeed),
                                        QStringLiteral("N"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Picture scale, 0.2 to 4 (default 1)."),
                                        QStringLiteral("F"));
    const QCommandLineOption karyogramOption(
        QStringLiteral("karyograms"),
        QStringLiteral("Also write one karyogram PNG per cell and an ideogram review sheet here."),
        QStringLiteral("folder"));
    const QCommandLineOption onlyOption(QStringLiteral("only"),
                                        QStringLiteral("Write only problem N (1 to 10)."),
                                        QStringLiteral("N"));
    parser.addOptions({outOption, seedOption, sizeOption, karyogramOption, onlyOption});

    ParseResult result;
    if (!parser.parse(arguments)) {
        result.message = parser.errorText();
        return result;
    }
    if (parser.isSet(helpOption)) {
        result.helpRequested = true;
        result.message = parser.helpText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.message =
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return result;
    }
    outputFolder = parser.value(outOption);
    if (outputFolder.isEmpty()) {
        result.message = QStringLiteral("--out <folder> is required");
        return result;
    }
    karyogramFolder = parser.value(karyogramOption);
    bool ok = true;
    if (parser.isSet(seedOption)) {
        seed = parser.value(seedOption).toULongLong(&ok);
        if (!ok) {
            result.message = QStringLiteral("--seed wants a non-negative integer");
            return result;
        }
    }
    if (parser.isSet(sizeOption)) {
        size = parser.value(sizeOption).toDouble(&ok);
        if (!ok || !(size >= 0.2 && size <= 4.0)) {
            result.message = QStringLiteral("--size wants a number from 0.2 to 4");
            return result;
        }
    }
    if (parser.isSet(onlyOption)) {
        onlyProblem = parser.value(onlyOption).toInt(&ok);
        if (!ok || onlyProblem < 1 || onlyProblem > 10) {
            result.message = QStringLiteral("--only wants a problem number from 1 to 10");
            return result;
        }
    }
    result.ok = true;
    return result;
}
