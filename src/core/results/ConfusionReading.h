#pragma once

#include "core/results/Confusions.h"

#include <QString>
#include <QStringList>

namespace queldo {

/// Everything the confusion window shows, read from the results and arrangement files a block at
/// a time: the attempts as the results file lists them, and the confusions counted while the
/// arrangement file is read, keeping of each counted line only where it lies. The same figures
/// as gatherConfusions() over the two files read whole.
ConfusionData readConfusions(const QString &resultsPath, const QString &arrangementPath,
                             const QStringList &problemList, const TodayDate &today);

/// The arrangement of an attempt of data (from readConfusions()), read again where it lay; an
/// error message when the file has changed since and the line is no longer the attempt's.
struct ReplayLine
{
    ArrangementLine line;
    QString error;
};
ReplayLine readAttemptArrangement(const QString &arrangementPath, const ConfusionData &data,
                                  const AttemptEntry &attempt);

} // namespace queldo
