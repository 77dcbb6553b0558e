#pragma once

#include "core/results/GradeStatistics.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <future>

namespace queldo {

/// The grade statistics of a results file computed on a worker thread, so that a window can be
/// filled with them before the trainee opens it, without holding up the window on show.
class GradeStatisticsInBackground
{
public:
    struct Figures
    {
        GradeStatistics statistics;
        /// Why the file could not be read; empty when it was.
        QString error;
    };

    GradeStatisticsInBackground() = default;
    /// Waits for a computation still running: its thread reads the file until it is done.
    ~GradeStatisticsInBackground() = default;
    GradeStatisticsInBackground(const GradeStatisticsInBackground &) = delete;
    GradeStatisticsInBackground &operator=(const GradeStatisticsInBackground &) = delete;

    /// Starts computing the figures of the file at path, after any earlier computation ends.
    /// done runs on the main thread once they are ready, unless context is gone by then.
    void start(const QString &path, const TodayDate &today, const QStringList &problemList,
               QObject *context, std::function<void()> done);
    /// Whether a computation was started and its figures not yet taken.
    bool pending() const { return m_figures.valid(); }
    /// The figures of the last start, waiting for them if need be; pending() is false after.
    Figures take();

private:
    std::future<Figures> m_figures;
};

/// The figures of the results file at path, computed on the calling thread.
GradeStatisticsInBackground::Figures gradeFiguresOfFile(const QString &path, const TodayDate &today,
                                                        const QStringList &problemList);

} // namespace queldo
