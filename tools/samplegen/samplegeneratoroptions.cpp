#include "samplegeneratoroptions.h"

#include "abnormalproblem.h"

#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeReader.h"

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
    const QCommandLineOption abnormalOption(
        QStringLiteral("abnormal"),
        QStringLiteral("Also write the abnormal cells, numbered after the normal ones."));
    const QCommandLineOption onlyOption(
        QStringLiteral("only"),
        QStringLiteral("Write only problem N (1 to 10, or with --abnormal up to %1), or one "
                       "abnormal cell of the karyotype given in ISCN (\"47,XY,+21\").")
            .arg(AbnormalProblem::FirstNumber + AbnormalProblem::all().size() - 1),
        QStringLiteral("N|KARYOTYPE"));
    parser.addOptions(
        {outOption, seedOption, sizeOption, karyogramOption, abnormalOption, onlyOption});

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
    abnormal = parser.isSet(abnormalOption);
    if (parser.isSet(onlyOption)) {
        const QString only = parser.value(onlyOption);
        onlyProblem = only.toInt(&ok);
        const int last =
            abnormal ? AbnormalProblem::FirstNumber + int(AbnormalProblem::all().size()) - 1 : 10;
        if (!ok && only.contains(QLatin1Char(','))) {
            const queldo::KaryotypeReading reading =
                queldo::readKaryotype(only, queldo::BandNames::embedded());
            if (!reading.ok()) {
                result.message = QStringLiteral("--only: %1").arg(reading.error);
                return result;
            }
            onlyProblem = 0;
            onlyKaryotype = reading.karyotype.iscn();
        } else if (!ok || onlyProblem < 1 || onlyProblem > last) {
            result.message =
                QStringLiteral("--only wants a problem number from 1 to %1 or a karyotype")
                    .arg(last);
            return result;
        }
    }
    result.ok = true;
    return result;
}
