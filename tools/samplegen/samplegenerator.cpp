#include "samplegenerator.h"

#include "core/board/ProblemFolder.h"

#include "bandtable.h"
#include "bitmapencoder.h"
#include "cellgenerator.h"
#include "ideogramsheet.h"
#include "karyogramcomposer.h"
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
        if (m_options.onlyProblem == 0 || problem.number == m_options.onlyProblem)
            problems.append(problem);
    }
    const QList<QList<ChromosomePicture>> cells = generateCells(problems);
    for (qsizetype i = 0; i < problems.size(); ++i) {
        if (!writeProblem(problems.at(i), cells.at(i)))
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

    if (m_options.karyogramFolder.isEmpty())
        return true;
    const QString karyogramPath = QDir(m_options.karyogramFolder)
                                      .filePath(QStringLiteral("%1-%2.png")
                                                    .arg(problem.number, 2, 10, QLatin1Char('0'))
                                                    .arg(problem.folderName));
    if (!KaryogramComposer::compose(pictures).save(karyogramPath, "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(karyogramPath)));
    return true;
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
