#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace queldo {

class AppPaths;
class ConfusionWindow;
class PagePrinter;
class TOKBottomDlg;
class TraineeSession;

/// A trainee's 成績 and 取り違え windows for the teacher, read-only: they are given no erase
/// confirmation, and erasing, printing (which saves into the trainee's folder where there is no
/// printer) and replaying are taken out, so nothing done in them writes.
class TraineeViewer
{
public:
    TraineeViewer(AppPaths &paths, PagePrinter &printer, QWidget *parent);
    ~TraineeViewer();
    TraineeViewer(const TraineeViewer &) = delete;
    TraineeViewer &operator=(const TraineeViewer &) = delete;

    void setProblemList(const QStringList &problemList);
    /// Opens the trainee's grade window modally; its 取り違え button opens the other.
    void showGrades(const QString &id);
    void showConfusions(const QString &id);

    TOKBottomDlg &grades() { return *m_grades; }
    ConfusionWindow &confusions() { return *m_confusions; }

private:
    void look(const QString &id);

    AppPaths &m_paths;
    // Declared before the windows, which hold it: they go first.
    std::unique_ptr<TraineeSession> m_session;
    std::unique_ptr<TOKBottomDlg> m_grades;
    std::unique_ptr<ConfusionWindow> m_confusions;
};

} // namespace queldo
