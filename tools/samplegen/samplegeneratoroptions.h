#pragma once

#include <QString>
#include <QStringList>

struct SampleGeneratorOptions
{
    static constexpr quint64 DefaultSeed = 20240611;

    QString outputFolder;
    QString karyogramFolder; // empty: no karyograms
    quint64 seed = DefaultSeed;
    double size = 1.0;
    int onlyProblem = 0;   // 0: all problems
    bool abnormal = false; // also the abnormal set, numbered after the normal problems
    QString onlyKaryotype; // normalised ISCN: just one abnormal cell of this karyotype

    struct ParseResult
    {
        bool ok = false;
        bool helpRequested = false;
        QString message; // the error, or the help text
    };

    // arguments as in QCoreApplication::arguments(), program name first.
    ParseResult parse(const QStringList &arguments);
};
