#pragma once

#include "core/board/ProblemLoader.h"
#include "core/results/ArrangementFile.h"

#include <QDialog>
#include <QDir>
#include <QString>

class QLabel;

namespace queldo {

class BoardView;
class TForm16;
class TraineeSession;

/// "再現": one past attempt as the trainee left it at its first scoring, below the correct
/// karyogram of the same cell, as the exercise window shows the answer over the trainee's board.
/// The answer is the program's correct-answer window itself, lent to this window while it is
/// open (the exercise window has closed it before the grade analysis opened).
class ReplayWindow : public QDialog
{
    Q_OBJECT
public:
    /// imagesFolder: where the problems are.
    explicit ReplayWindow(const QDir &imagesFolder, QWidget *parent = nullptr);
    ~ReplayWindow() override;

    /// The logged-in trainee, whose size setting the pieces are drawn at; none until the login,
    /// and nothing is shown without one.
    void setSession(const TraineeSession *session) { m_session = session; }

    /// Loads the attempt's problem and draws both karyograms at the given size (that of the
    /// exercise window's, shrunk alike when two do not fit the screen), the answer in `answer`;
    /// when the trainee resizes the window both are drawn again for their new size. Returns why not
    /// when the problem cannot be loaded; nothing is shown then.
    QString showAttempt(const ArrangementLine &line, const QString &problemName, QSize karyogram,
                        TForm16 &answer);
    /// Closing gives the correct-answer window back, hidden.
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Found by their object names from outside.
    QLabel *Heading = nullptr;
    QWidget *AnswerArea = nullptr; ///< where the correct-answer window stands
    BoardView *Attempt = nullptr;

    void giveAnswerBack();
    /// Both karyograms for the sizes their areas have now; nothing when already drawn so.
    void drawKaryograms();

    const TraineeSession *m_session = nullptr;
    QDir m_imagesFolder;
    LoadedProblem m_problem;
    Arrangement m_places{};
    QSize m_drawnAt;
    QSize m_answerDrawnAt;
    TForm16 *m_answer = nullptr; ///< the lent correct-answer window while shown
};

} // namespace queldo
