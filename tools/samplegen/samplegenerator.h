#pragma once

#include "abnormalproblem.h"
#include "bandtable.h"
#include "chromosomepicture.h"
#include "samplegeneratoroptions.h"
#include "sampleproblem.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writes the sample problems: per problem a folder of 46 bitmaps and its .set
// listing, the size-preview bitmap 1-1.bmp beside them, and on request a
// karyogram per cell plus a review sheet.
class SampleGenerator
{
public:
    explicit SampleGenerator(const SampleGeneratorOptions &options);

    bool run();
    QString errorString() const { return m_errorString; }

    static quint64 cellSeed(quint64 baseSeed, int problemNumber);

private:
    QList<QList<ChromosomePicture>> generateCells(const QList<SampleProblem> &problems) const;
    bool writeProblem(const SampleProblem &problem, const QList<ChromosomePicture> &pictures);
    QList<AbnormalProblem> abnormalProblems() const;
    bool writeAbnormalProblem(const AbnormalProblem &problem);
    bool writeKaryogram(int number, const QString &folderName,
                        const QList<ChromosomePicture> &pictures);
    bool writePreview();
    bool writeReviewSheet();
    bool writeFile(const QString &path, const QByteArray &bytes);
    bool ensureFolder(const QString &path);
    bool fail(const QString &message);

    SampleGeneratorOptions m_options;
    BandTable m_table;
    QString m_errorString;
};
