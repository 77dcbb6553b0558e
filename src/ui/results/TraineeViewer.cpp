#include "ui/results/TraineeViewer.h"

#include "core/app/TraineeLockFile.h"
#include "core/app/TraineeSession.h"
#include "ui/results/ConfusionWindow.h"
#include "ui/results/TOKBottomDlg.h"

namespace queldo {

TraineeViewer::TraineeViewer(AppPaths &paths, PagePrinter &printer, QWidget *parent)
    : m_paths(paths), m_grades(std::make_unique<TOKBottomDlg>(printer, parent)),
      m_confusions(std::make_unique<ConfusionWindow>(printer, parent))
{
    m_grades->takeOutWriting();
    m_confusions->takeOutWriting();
    QObject::connect(m_grades.get(), &TOKBottomDlg::confusionsRequested, m_confusions.get(),
                     [this] { m_confusions->exec(); });
}

TraineeViewer::~TraineeViewer() = default;

void TraineeViewer::setProblemList(const QStringList &problemList)
{
    m_grades->setProblemList(problemList);
    m_confusions->setProblemList(problemList);
}

void TraineeViewer::look(const QString &id)
{
    // The teacher only looks: the trainee is not claimed, and nothing of theirs may be written.
    auto session = std::make_unique<TraineeSession>(UserFiles(m_paths, id), judgeForThisProgram());
    session->openReadOnly({});
    m_grades->setSession(session.get());
    m_confusions->setSession(session.get());
    m_session = std::move(session);
}

void TraineeViewer::showGrades(const QString &id)
{
    look(id);
    m_grades->exec();
}

void TraineeViewer::showConfusions(const QString &id)
{
    look(id);
    m_confusions->exec();
}

} // namespace queldo
