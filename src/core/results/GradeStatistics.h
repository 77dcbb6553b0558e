#pragma once

#include "core/results/ResultsDate.h"
#include "core/results/ResultsFile.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <array>

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

} // namespace queldo
