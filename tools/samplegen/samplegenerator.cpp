#include "samplegenerator.h"

#include "core/board/ProblemFolder.h"
#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeReader.h"
#include "core/karyotype/ProblemKaryotype.h"

#include "bandtable.h"
#include "bitmapencoder.h"
#include "cellgenerator.h"
#include "ideogramsheet.h"
#include "karyogramcomposer.h"
#include "karyotypecell.h"
#include "seededrandom.h"
#include "setfile.h"

#include <QDir>
#include <QSaveFile>
#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

SampleGenerator::SampleGenerator(const SampleGeneratorOptions &options)
    : m_options(options), m_table(BandTable::embedded())
{
}

quint64 SampleGenerator::cellSeed(quint64 baseSeed, int problemNumber)
{
    return SeededRandom::derive(baseSeed, quint64(problemNumber));
}

bool SampleGenerator::fail(const QString &message)
{
    m_errorString = message;
    return false;
}

bool SampleGenerator::ensureFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        return fail(QStringLiteral("cannot create folder %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

bool SampleGenerator::writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    return true;
}

bool SampleGenerator::run()
{
    if (!m_table.isValid())
        return fail(QStringLiteral("embedded band table: %1").arg(m_table.errorString()));
    if (!ensureFolder(m_options.outputFolder))
        return false;
    if (!m_options.karyogramFolder.isEmpty() && !ensureFolder(m_options.karyogramFolder))
        return false;
    if (!writePreview())
        return false;
    QList<SampleProblem> problems;
    for (const SampleProblem &problem : SampleProblem::all()) {
        if (m_options.onlyKaryotype.isEmpty() &&
            (m_options.onlyProblem == 0 || problem.number == m_options.onlyProblem))
            problems.append(problem);
    }
    const QList<QList<ChromosomePicture>> cells = generateCells(problems);
    for (qsizetype i = 0; i < problems.size(); ++i) {
        if (!writeProblem(problems.at(i), cells.at(i)))
            return false;
    }
    for (const AbnormalProblem &problem : abnormalProblems()) {
        if (!writeAbnormalProblem(problem))
            return false;
    }
    if (!m_options.karyogramFolder.isEmpty())
        return writeReviewSheet();
    return true;
}

bool SampleGenerator::writePreview()
{
    const CellGenerator generator(m_table, m_options.size);
    const ChromosomePicture picture = generator.generateReference(0, cellSeed(m_options.seed, 0));
    QString error;
    const QByteArray bmp = BitmapEncoder::encode(picture.image, &error);
    if (bmp.isEmpty())
        return fail(error);
    return writeFile(QDir(m_options.outputFolder).filePath(QStringLiteral("1-1.bmp")), bmp);
}

// Cells do not depend on each other, so they are drawn side by side; the
// result is the same whatever the number of threads.
QList<QList<ChromosomePicture>>
SampleGenerator::generateCells(const QList<SampleProblem> &problems) const
{
    const CellGenerator generator(m_table, m_options.size);
    QList<QList<ChromosomePicture>> cells(problems.size());
    std::atomic<qsizetype> next = 0;
    const auto work = [&] {
        for (qsizetype i = next++; i < problems.size(); i = next++) {
            const SampleProblem &problem = problems.at(i);
            cells[i] = generator.generateCell(cellSeed(m_options.seed, problem.number),
                                              problem.isFemale());
        }
    };
    const int threadCount = int(std::min<qsizetype>(QThread::idealThreadCount(), problems.size()));
    std::vector<std::thread> threads;
    for (int i = 1; i < threadCount; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread &thread : threads)
        thread.join();
    return cells;
}

bool SampleGenerator::writeProblem(const SampleProblem &problem,
                                   const QList<ChromosomePicture> &pictures)
{
    const QDir root(m_options.outputFolder);
    const QString folder = root.filePath(problem.folderName);
    if (!ensureFolder(folder))
        return false;

    SetFile setFile;
    for (int slot = 0; slot < pictures.size(); ++slot) {
        QString error;
        const QByteArray bmp = BitmapEncoder::encode(pictures.at(slot).image, &error);
        if (bmp.isEmpty())
            return fail(error);
        const QString name = queldo::bitmapFileName(slot);
        if (!writeFile(QDir(folder).filePath(name), bmp))
            return false;
        setFile.append(slot, bmp.size());
    }
    if (!writeFile(QDir(folder).filePath(queldo::checkValueFileName(problem.folderName)),
                   setFile.toBytes()))
        return false;

    return writeKaryogram(problem.number, problem.folderName, pictures);
}

bool SampleGenerator::writeKaryogram(int number, const QString &folderName,
                                     const QList<ChromosomePicture> &pictures)
{
    if (m_options.karyogramFolder.isEmpty())
        return true;
    const QString karyogramPath =
        QDir(m_options.karyogramFolder)
            .filePath(
                QStringLiteral("%1-%2.png").arg(number, 2, 10, QLatin1Char('0')).arg(folderName));
    if (!KaryogramComposer::compose(pictures).save(karyogramPath, "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(karyogramPath)));
    return true;
}

QList<AbnormalProblem> SampleGenerator::abnormalProblems() const
{
    const QList<AbnormalProblem> &set = AbnormalProblem::all();
    if (!m_options.onlyKaryotype.isEmpty()) {
        for (const AbnormalProblem &problem : set) {
            if (problem.karyotype == m_options.onlyKaryotype)
                return {problem};
        }
        return {{AbnormalProblem::FirstNumber + int(set.size()), m_options.onlyKaryotype}};
    }
    if (!m_options.abnormal)
        return {};
    QList<AbnormalProblem> problems;
    for (const AbnormalProblem &problem : set) {
        if (m_options.onlyProblem == 0 || problem.number == m_options.onlyProblem)
            problems.append(problem);
    }
    return problems;
}

bool SampleGenerator::writeAbnormalProblem(const AbnormalProblem &problem)
{
    const queldo::KaryotypeReading reading =
        queldo::readKaryotype(problem.karyotype, queldo::BandNames::embedded());
    if (!reading.ok())
        return fail(QStringLiteral("%1: %2").arg(problem.karyotype, reading.error));
    QString error;
    const QList<CellChromosome> chromosomes =
        KaryotypeCell(m_table, BandTable::embeddedFineBands()).build(reading.karyotype, &error);
    if (chromosomes.isEmpty())
        return fail(error);
    const CellGenerator generator(m_table, m_options.size);
    const QList<ChromosomePicture> pictures =
        generator.generateCell(cellSeed(m_options.seed, problem.number), chromosomes);

    const QDir folder(QDir(m_options.outputFolder).filePath(problem.folderName()));
    if (!ensureFolder(folder.path()))
        return false;
    SetFile setFile;
    QStringList changed;
    QList<int> perClass(23, 0);
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        // Both sex chromosomes are class 23, as in a normal problem.
        const int bitmapClass = std::min(chromosomes.at(i).chromosome, 22);
        const QString name =
            QStringLiteral("%1-%2.bmp").arg(bitmapClass + 1).arg(++perClass[bitmapClass]);
        const QByteArray bmp = BitmapEncoder::encode(pictures.at(i).image, &error);
        if (bmp.isEmpty())
            return fail(error);
        if (!writeFile(folder.filePath(name), bmp))
            return false;
        setFile.append(name, bmp.size());
        if (chromosomes.at(i).changed)
            changed << name;
    }
    if (!writeFile(folder.filePath(queldo::checkValueFileName(problem.folderName())),
                   setFile.toBytes()) ||
        !writeFile(folder.filePath(queldo::karyotypeFileName()),
                   queldo::problemKaryotypeBytes(reading.karyotype, changed)))
        return false;
    return writeKaryogram(problem.number, problem.folderName(), pictures);
}

bool SampleGenerator::writeReviewSheet()
{
    // Drawn larger than the problems so single bands can be told apart.
    const CellGenerator generator(m_table, std::max(2.0, m_options.size));
    QList<ChromosomePicture> pictures;
    for (const QString &name :
         {QStringLiteral("1"), QStringLiteral("9"), QStringLiteral("13"), QStringLiteral("16"),
          QStringLiteral("21"), QStringLiteral("X"), QStringLiteral("Y")}) {
        const int chromosome = ChromosomeId::fromName(name);
        pictures.append(
            generator.generateReference(chromosome, cellSeed(m_options.seed, 100 + chromosome)));
    }
    const QString path =
        QDir(m_options.karyogramFolder).filePath(QStringLiteral("ideogram-comparison.png"));
    if (!IdeogramSheet::compose(m_table, pictures).save(path, "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(path)));
    return true;
}
