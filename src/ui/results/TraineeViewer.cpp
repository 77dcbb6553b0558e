#include "ui/results/TraineeViewer.h"

#include "ui/results/ConfusionWindow.h"
#include "ui/results/TOKBottomDlg.h"

#include <QPushButton>
#include <QTreeView>

namespace queldo {

namespace {

void takeOut(QWidget *control)
{
    control->setEnabled(false);
    control->hide();
}

} // namespace

TraineeViewer::TraineeViewer(AppPaths &paths, PagePrinter &printer, QWidget *parent)
    : m_grades(std::make_unique<TOKBottomDlg>(paths, m_id, printer, parent)),
      m_confusions(std::make_unique<ConfusionWindow>(paths, m_id, printer, parent))
{
    takeOut(m_grades->Button1); // 印刷
    takeOut(m_grades->Button2); // 成績クリア
    takeOut(m_confusions->PrintButton);
    takeOut(m_confusions->ReplayButton);
    QObject::disconnect(m_confusions->AttemptList, &QTreeView::doubleClicked, m_confusions.get(),
                        nullptr);
    QObject::connect(m_grades.get(), &TOKBottomDlg::confusionsRequested, m_confusions.get(),
                     [this] { m_confusions->exec(); });
}

TraineeViewer::~TraineeViewer() = default;

void TraineeViewer::setProblemList(const QStringList &problemList)
{
    m_grades->setProblemList(problemList);
    m_confusions->setProblemList(problemList);
}

void TraineeViewer::showGrades(const QString &id)
{
    m_id = id;
    m_grades->exec();
}

void TraineeViewer::showConfusions(const QString &id)
{
    m_id = id;
    m_confusions->exec();
}

} // namespace queldo
