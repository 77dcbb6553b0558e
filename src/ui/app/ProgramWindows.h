#pragma once

#include "core/app/AppPaths.h"
#include "core/app/UserList.h"
#include "core/board/SeededRandom.h"
#include "ui/common/PagePrinter.h"

#include <QString>

#include <memory>

class QTimer;

namespace queldo {

class ClassOverviewWindow;
class ConfusionWindow;
class ReplayWindow;
struct ArrangementLine;
class TAboutBox;
class TForm1;
class TForm10;
class TForm16;
class TForm8;
class TNewID;
class TNewIDorNo;
class TOKBottomDlg;
class TPagesDlg;
class TPasswordDlg;
class TraineeSession;
struct ScoredAbnormalCell;

/// The program's long-lived windows, each made once and afterwards only shown and hidden: the
/// login window and its dialogs at start-up, the exercise window with the first login, the rest
/// at their first use.
class ProgramWindows
{
public:
    /// programFolder holds the executable; startFolder is where the program was started, whose
    /// Result folder lists the users.
    ProgramWindows(const QString &programFolder, const QString &startFolder, quint32 seed);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    /// Shows the login dialog.
    void start();

    AppPaths &paths() { return m_paths; }
    const UserList &users() const { return m_users; }
    TPasswordDlg &login() { return *m_login; }
    // The new-ID windows are made once the login window is painted, or at their first use.
    TNewIDorNo &question();
    TNewID &newId();
    // Made at their first use rather than at start-up, so that the login window comes up
    // without waiting for windows a trainee may never open; then kept like the others.
    TPagesDlg &pages();
    TAboutBox &about();
    TOKBottomDlg &analysis();
    ConfusionWindow &confusions();
    ReplayWindow &replay();
    TForm8 &eraseConfirmation();
    TForm10 &eraseDone();
    /// Null until the teacher first opened it.
    ClassOverviewWindow *classOverview() { return m_classOverview.get(); }
    /// The current printer of every printout.
    PagePrinter &printer() { return m_printer; }
    /// Null until the first login.
    TForm1 *exercise() { return m_exercise.get(); }
    TForm16 &AnswerWindow();
    /// The logged-in trainee's hold on their ID, with their settings; null before the login.
    TraineeSession *session() { return m_session.get(); }
    /// Says this program is still there, and tells the trainee if another program has taken
    /// the ID over meanwhile. A timer calls it while the trainee is held.
    void renewSession();

private:
    void openExerciseWindow();
    /// After the first scoring of an abnormal cell: its karyotype asked and the attempt kept.
    void askAbnormalKaryotype(const ScoredAbnormalCell &cell);
    bool claimTrainee(const QString &id);
    void shareSession();
    void makeNewIdWindows();
    void openGradeAnalysis();
    void openConfusions();
    void openReplay(const ArrangementLine &line);
    void openClassOverview();

    AppPaths m_paths;
    UserList m_users;
    std::unique_ptr<TraineeSession> m_session;
    std::unique_ptr<QTimer> m_renewal;
    SeededRandom m_random;
    PagePrinter m_printer;
    std::unique_ptr<TPasswordDlg> m_login;
    std::unique_ptr<TAboutBox> m_about;
    std::unique_ptr<TPagesDlg> m_pages;
    std::unique_ptr<TOKBottomDlg> m_analysis;
    std::unique_ptr<ConfusionWindow> m_confusions;
    std::unique_ptr<TNewIDorNo> m_question;
    std::unique_ptr<TNewID> m_newId;
    std::unique_ptr<TForm8> m_eraseConfirmation;
    std::unique_ptr<TForm10> m_eraseDone;
    std::unique_ptr<TForm1> m_exercise;
    // Shown inside the exercise window, so it goes first: declared after it.
    std::unique_ptr<TForm16> m_answer;
    // After the answer window: closing gives it back before it goes.
    std::unique_ptr<ReplayWindow> m_replay;
    // Made when the teacher first opens it, over the exercise window.
    std::unique_ptr<ClassOverviewWindow> m_classOverview;
};

} // namespace queldo
