#pragma once

#include "core/results/ResultsDate.h"
#include "core/results/ResultsFile.h"

#include <QByteArrayView>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace queldo {

/// The two forms of the weak-chromosome list: today's (per place) and all records' (per record).
enum class WeakListVariant { Today, AllRecords };

/// The chromosomes 1..22 whose miss count is the largest (and not zero), in ascending order, each
/// followed by its separator; six entries at most, then the overflow text.
QString WeakChromosomeList(const std::array<int, 22> &misses, WeakListVariant variant);

/// Everything the grade analysis window shows about a trainee's history, computed afresh from the
/// records of the results file.
struct GradeStatistics
{
    /// No record could be read (a header alone, an empty file, or nothing but unreadable lines):
    /// the series are empty and both reports are the no-records texts.
    bool noRecords = true;
    QList<QPointF> accuracyPerAttempt; ///< (attempt 1..n, percent of the 46 places correct)
    QList<QPointF> secondsPerAttempt;  ///< (attempt 1..n, answer time in seconds)
    QList<QPointF> accuracyPerPair;    ///< (pair 1..22, and 23 for X with XY; percent correct)
    QString TodayReport;
    QString OverallReport;
    /// Lines after the header that could not be read as a record (bytes that are not code page
    /// 932, a field count other than 50, a number field that is not an integer) and were left out.
    int linesLeftOut = 0;

    /// Records of an uninstalled problem count everywhere except where the problem's sex is needed
    /// (the sex-chromosome figures, and the sex of the most-missed problem, which is then left
    /// out).
    static GradeStatistics compute(const ResultsReadResult &read, const TodayDate &today,
                                   const QStringList &problemList);
};

/// GradeStatistics gathered from the records of a file handed over a part at a time, in file
/// order, so that a long history never has to be held whole.
class GradeTally
{
public:
    GradeTally(const TodayDate &today, const QStringList &problemList);
    ~GradeTally();
    GradeTally(const GradeTally &) = delete;
    GradeTally &operator=(const GradeTally &) = delete;

    /// Room for the series of about this many records.
    void reserve(qsizetype records);
    void add(const ResultsReadResult &part);
    /// Whole lines of the file as they lie, after linesBefore lines (the first is the header).
    void addLines(QByteArrayView lines, qsizetype linesBefore);
    /// A line that could not be read at all.
    void addUnreadableLine();
    /// fileRead: whether the whole file could be read; a failure shows no figures at all.
    GradeStatistics finish(bool fileRead);

private:
    struct Sums;
    std::unique_ptr<Sums> m;
};

/// GradeStatistics of the results file at path, read a block at a time; *error, when the file
/// cannot be read, says why (and the statistics are those of no records).
GradeStatistics gradeStatisticsOfFile(const QString &path, const TodayDate &today,
                                      const QStringList &problemList, QString *error);

} // namespace queldo
