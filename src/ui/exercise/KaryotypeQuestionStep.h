#pragma once

#include "core/karyotype/Karyotype.h"

#include <QDateTime>
#include <QList>
#include <QString>

class QWidget;

namespace queldo {

class AppPaths;
class UserFiles;

/// A first scoring, as the karyotype question needs it.
struct ScoredArrangement
{
    int problemNumber = 0;
    /// Place verdicts in place order (1, 0, -1, -2), as many as the board has places.
    QList<int> verdicts;
    int elapsedSeconds = 0;

    ScoredArrangement(int number, const QList<int> &codes, int seconds)
        : problemNumber(number), verdicts(codes), elapsedSeconds(seconds)
    {
    }
    /// codes: the verdicts as scoring returns them, whatever the board's container.
    template <typename Codes>
    ScoredArrangement(int number, const Codes &codes, int seconds)
        : problemNumber(number), verdicts(codes.begin(), codes.end()), elapsedSeconds(seconds)
    {
    }
};

/// After the first scoring of an abnormal cell: asks its karyotype (KaryotypeDialog, typed or
/// from lists as the trainee last chose), and appends the attempt with the answer and its part
/// scores to the trainee's abnormal attempts file. Returns why the attempt could not be kept, or
/// an empty string.
QString askKaryotype(QWidget *parent, const UserFiles &files, const Karyotype &expected,
                     const ScoredArrangement &scored,
                     const QDateTime &now = QDateTime::currentDateTime());

/// The same for the problem folder `problemFolder` of the problem library when it carries a
/// karyotype file, with any failure shown in a message over `parent`. A normal problem has
/// none: nothing is asked, shown or written. A karyotype file that cannot be read is said
/// rather than asked about.
void askKaryotypeIfAbnormal(QWidget *parent, const AppPaths &paths, const QString &userId,
                            const QString &problemFolder, const ScoredArrangement &scored);

} // namespace queldo
