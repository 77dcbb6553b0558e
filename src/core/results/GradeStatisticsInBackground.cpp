#include "core/results/GradeStatisticsInBackground.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace queldo {

GradeStatisticsInBackground::Figures gradeFiguresOfFile(const QString &path, const TodayDate &today,
                                                        const QStringList &problemList)
{
    GradeStatisticsInBackground::Figures figures;
    figures.statistics = gradeStatisticsOfFile(path, today, problemList, &figures.error);
    return figures;
}

void GradeStatisticsInBackground::start(const QString &path, const TodayDate &today,
                                        const QStringList &problemList, QObject *context,
                                        std::function<void()> done)
{
    if (m_figures.valid())
        m_figures.wait();
    // The guard is made here, on the main thread; the worker only copies it and hands it back
    // to that thread, where alone it is looked at.
    QPointer<QObject> receiver(context);
    m_figures = std::async(std::launch::async,
                           [path, today, problemList, receiver, done = std::move(done)] {
                               Figures figures = gradeFiguresOfFile(path, today, problemList);
                               QMetaObject::invokeMethod(
                                   QCoreApplication::instance(),
                                   [receiver, done] {
                                       if (receiver)
                                           done();
                                   },
                                   Qt::QueuedConnection);
                               return figures;
                           });
}

GradeStatisticsInBackground::Figures GradeStatisticsInBackground::take()
{
    return m_figures.get();
}

} // namespace queldo
