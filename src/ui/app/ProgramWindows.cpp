#include "ui/app/ProgramWindows.h"

#include "core/app/TeacherPassword.h"
#include "core/app/TraineeLockFile.h"
#include "core/app/TraineeSession.h"
#include "core/app/UserFiles.h"
#include "core/exercise/ScoredAbnormalCell.h"
#include "ui/app/TAboutBox.h"
#include "ui/app/TNewID.h"
#include "ui/app/TNewIDorNo.h"
#include "ui/app/TPasswordDlg.h"
#include "ui/app/TeacherPasswordDialog.h"
#include "ui/app/TraineeSessionStart.h"
#include "ui/common/ProgramFonts.h"
#include "ui/exercise/KaryotypeQuestionStep.h"
#include "ui/exercise/TForm1.h"
#include "ui/exercise/TForm16.h"
#include "ui/results/ClassOverviewWindow.h"
#include "ui/results/ConfusionWindow.h"
#include "ui/results/ReplayWindow.h"
#include "ui/results/TForm10.h"
#include "ui/results/TForm8.h"
#include "ui/results/TOKBottomDlg.h"
#include "ui/settings/TPagesDlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace queldo {

ProgramWindows::ProgramWindows(const QString &programFolder, const QString &startFolder,
                               quint32 seed)
    : m_paths(programFolder, startFolder), m_random(seed)
{
    // The user list comes from the Result folder beside the start folder; from here on,
    // relative paths resolve against Images, as every later window expects.
    installProgramFonts();
    m_users = UserList::read(m_paths.startResultFolder());
    m_paths.enterImagesFolder();

    m_login = std::make_unique<TPasswordDlg>(m_paths, m_users);
    m_login->makeNewIdWindows = [this] { makeNewIdWindows(); };
    m_login->claimTrainee = [this](const QString &id) {
        return claimTrainee(id) ? m_session.get() : nullptr;
    };
    QObject::connect(m_login.get(), &TPasswordDlg::quitRequested, qApp, &QApplication::quit);
    QObject::connect(m_login.get(), &TPasswordDlg::loggedIn, m_login.get(),
                     [this] { openExerciseWindow(); });
}

void ProgramWindows::makeNewIdWindows()
{
    if (m_question)
        return;
    m_question = std::make_unique<TNewIDorNo>(m_login.get());
    m_newId = std::make_unique<TNewID>(m_paths, m_users, *m_login, m_login.get());
    m_login->setNewIdWindows(m_question.get(), m_newId.get());
}

TNewIDorNo &ProgramWindows::question()
{
    makeNewIdWindows();
    return *m_question;
}

TNewID &ProgramWindows::newId()
{
    makeNewIdWindows();
    return *m_newId;
}

TForm16 &ProgramWindows::AnswerWindow()
{
    if (!m_answer)
        m_answer = std::make_unique<TForm16>();
    return *m_answer;
}

TPagesDlg &ProgramWindows::pages()
{
    if (!m_pages) {
        m_pages = std::make_unique<TPagesDlg>(m_paths);
        m_pages->setSession(m_session.get());
    }
    return *m_pages;
}

TAboutBox &ProgramWindows::about()
{
    if (!m_about)
        m_about = std::make_unique<TAboutBox>();
    return *m_about;
}

TOKBottomDlg &ProgramWindows::analysis()
{
    if (!m_analysis) {
        m_analysis = std::make_unique<TOKBottomDlg>(m_printer);
        m_analysis->setSession(m_session.get());
        m_analysis->setEraseConfirmation(&eraseConfirmation());
        QObject::connect(m_analysis.get(), &TOKBottomDlg::confusionsRequested, m_analysis.get(),
                         [this] { openConfusions(); });
    }
    return *m_analysis;
}

ConfusionWindow &ProgramWindows::confusions()
{
    if (!m_confusions) {
        m_confusions = std::make_unique<ConfusionWindow>(m_printer);
        m_confusions->setSession(m_session.get());
        QObject::connect(m_confusions.get(), &ConfusionWindow::replayRequested, m_confusions.get(),
                         [this](const ArrangementLine &line) { openReplay(line); });
    }
    return *m_confusions;
}

ReplayWindow &ProgramWindows::replay()
{
    if (!m_replay) {
        m_replay = std::make_unique<ReplayWindow>(QDir(m_paths.imagesFolder()));
        m_replay->setSession(m_session.get());
    }
    return *m_replay;
}

TForm8 &ProgramWindows::eraseConfirmation()
{
    if (!m_eraseConfirmation) {
        m_eraseConfirmation = std::make_unique<TForm8>();
        m_eraseConfirmation->setSession(m_session.get());
        m_eraseConfirmation->setCompletionMessage(&eraseDone());
    }
    return *m_eraseConfirmation;
}

TForm10 &ProgramWindows::eraseDone()
{
    if (!m_eraseDone)
        m_eraseDone = std::make_unique<TForm10>();
    return *m_eraseDone;
}

// Members go in reverse order: the question and the new-ID dialog, children of the login
// dialog, before it.
ProgramWindows::~ProgramWindows() = default;

namespace {

// Runs a task once a window has been painted for the first time, when the program would
// otherwise wait for the trainee.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget *window, std::function<void()> task)
        : QObject(window), m_task(std::move(task))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued: the frame is finished and on the screen first.
            QTimer::singleShot(0, this, [this] {
                m_task();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_task;
};

} // namespace

void ProgramWindows::start()
{
    m_login->show();
    // The other windows are made while the trainee types the ID, not before the login window
    // shows: a first opening then costs no more than any later one.
    new AfterFirstPaint(m_login.get(), [this] {
        makeNewIdWindows();
        pages();
        about();
        analysis();
        confusions();
        replay();
        AnswerWindow();
    });
}

bool ProgramWindows::claimTrainee(const QString &id)
{
    if (m_session && m_session->id() == id)
        return true;
    // The trainee the windows work on stays theirs until another is taken: a claim given up
    // leaves them as they were.
    auto claimed =
        startTraineeSession(UserFiles(m_paths, id), judgeForThisProgram(), m_login.get());
    if (!claimed)
        return false;
    m_session = std::move(claimed);
    shareSession();
    m_renewal = std::make_unique<QTimer>();
    m_renewal->setInterval(int(TraineeLockJudge::RenewSeconds * 1000));
    QObject::connect(m_renewal.get(), &QTimer::timeout, [this] { renewSession(); });
    m_renewal->start();
    return true;
}

void ProgramWindows::shareSession()
{
    // Windows not made yet are given the session when they are. The trainee's settings travel
    // with it: this is how every window comes to read them.
    if (m_pages)
        m_pages->setSession(m_session.get());
    if (m_analysis)
        m_analysis->setSession(m_session.get());
    if (m_confusions)
        m_confusions->setSession(m_session.get());
    if (m_eraseConfirmation)
        m_eraseConfirmation->setSession(m_session.get());
    if (m_replay)
        m_replay->setSession(m_session.get());
    if (m_exercise)
        m_exercise->setSession(m_session.get());
    // The answer window's options are the trainee's too: not remembered while read-only.
    if (!m_session->writable())
        AnswerWindow().stopRememberingOptions();
}

void ProgramWindows::renewSession()
{
    if (!m_session || m_session->renew() != TraineeSession::Renewal::Lost)
        return;
    m_renewal->stop();
    shareSession();
    QMessageBox::warning(m_exercise ? static_cast<QWidget *>(m_exercise.get()) : m_login.get(),
                         QStringLiteral("QUELDO"), m_session->lostText());
}

void ProgramWindows::openExerciseWindow()
{
    // The login claims the trainee before it says the trainee is in.
    if (m_exercise || !m_session)
        return;
    m_exercise = std::make_unique<TForm1>(m_paths, m_random, *m_session);
    QObject::connect(m_exercise.get(), &TForm1::settingsRequested, m_exercise.get(),
                     [this] { pages().exec(); });
    QObject::connect(m_exercise.get(), &TForm1::aboutRequested, m_exercise.get(),
                     [this] { about().exec(); });
    QObject::connect(m_exercise.get(), &TForm1::classOverviewRequested, m_exercise.get(),
                     [this] { openClassOverview(); });
    QObject::connect(m_exercise.get(), &TForm1::gradeAnalysisRequested, m_exercise.get(),
                     [this] { openGradeAnalysis(); });
    QObject::connect(m_exercise.get(), &TForm1::abnormalCellScored, m_exercise.get(),
                     [this](const ScoredAbnormalCell &cell) { askAbnormalKaryotype(cell); });
    QObject::connect(&pages(), &TPagesDlg::settingsApplied, m_exercise.get(),
                     &TForm1::applySettingsDialog);
    m_pages->syncFromSettings();
    m_exercise->restoreRememberedPlacement();
    m_exercise->setAnswerWindow(&AnswerWindow());
    m_exercise->setPrinter(&m_printer);
    m_answer->setOptionsFile(m_session->files().program(UserFile::AnswerOptions));
    shareSession();
    m_exercise->show();
    // While the trainee looks at the board, the grades are read and the analysis filled: its
    // first opening then only shows it.
    new AfterFirstPaint(m_exercise.get(), [this] {
        analysis().setProblemList(m_exercise->library().ProblemList());
        m_analysis->prepare();
    });
}

void ProgramWindows::askAbnormalKaryotype(const ScoredAbnormalCell &cell)
{
    // A read-only session records nothing, so it is asked nothing either.
    if (!m_session || !m_session->writable())
        return;
    const QList<int> verdicts(cell.score.codes.begin(),
                              cell.score.codes.begin() + cell.score.placeCount);
    const QString error =
        askKaryotype(m_exercise.get(), m_session->files(), cell.karyotype,
                     ScoredArrangement(cell.problemNumber, verdicts, cell.elapsedSeconds));
    if (!error.isEmpty())
        QMessageBox::warning(m_exercise.get(), QStringLiteral("QUELDO"), error);
}

void ProgramWindows::openGradeAnalysis()
{
    analysis().setProblemList(m_exercise->library().ProblemList());
    m_analysis->exec();
}

void ProgramWindows::openConfusions()
{
    confusions().setProblemList(m_exercise->library().ProblemList());
    m_confusions->exec();
}

void ProgramWindows::openReplay(const ArrangementLine &line)
{
    const QString error = replay().showAttempt(
        line, m_exercise->library().ProblemList().value(line.problemNumber - 1),
        m_exercise->karyogramSize(), AnswerWindow());
    if (!error.isEmpty()) {
        QMessageBox::warning(m_confusions.get(), QStringLiteral("再現"), error);
        return;
    }
    m_replay->exec();
}

void ProgramWindows::openClassOverview()
{
    TeacherPasswordDialog password(teacherPasswordPath(m_paths.startResultFolder()),
                                   m_exercise.get());
    if (password.exec() != QDialog::Accepted)
        return;
    if (!m_classOverview)
        m_classOverview = std::make_unique<ClassOverviewWindow>(m_paths, m_printer);
    m_classOverview->setProblemList(m_exercise->library().ProblemList());
    m_classOverview->exec();
}

} // namespace queldo
