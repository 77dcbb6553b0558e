#pragma once

#include "ExerciseControls.h"
#include "ProblemFixture.h"
#include "TraineeFixture.h"
#include "core/app/AppPaths.h"
#include "core/board/ProblemFolder.h"
#include "core/board/SeededRandom.h"
#include "core/results/ResultsFile.h"
#include "ui/board/PieceImage.h"
#include "ui/exercise/TForm1.h"
#include "ui/exercise/TForm16.h"

#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace queldo::test {

/// The exercise window as the program makes it at login, with its answer window, over a program
/// folder holding the first `problems` of the known problems (by default three: two female, one
/// male) and the trainee "u".
struct ExerciseFixture
{
    QTemporaryDir dir;
    std::unique_ptr<AppPaths> paths;
    SeededRandom random{5};
    QString userId = QStringLiteral("u");
    std::unique_ptr<TraineeSession> session;
    TForm16 answer;
    std::unique_ptr<TForm1> form;

    explicit ExerciseFixture(int problems = 3)
    {
        QDir(dir.path()).mkpath(QStringLiteral("Images"));
        for (int i = 0; i < problems; ++i)
            writeProblemFolder(dir.filePath(QStringLiteral("Images")), knownProblemNames()[i],
                               {60, 14, quint32(i + 1)});
        paths = std::make_unique<AppPaths>(dir.path(), dir.path());
        paths->enterImagesFolder();
        QDir(dir.path()).mkpath(QStringLiteral("Result/u"));
        ResultsFile::create(dir.filePath(QStringLiteral("Result/u/u.kek")));
        session = loggedInTrainee(*paths, userId);
        form = std::make_unique<TForm1>(*paths, random, *session);
        form->setAnswerWindow(&answer);
        form->todayText = [] { return QStringLiteral("2026/12/10"); };
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("the exercise window was not shown");
    }

    ExerciseControls ui() const { return ExerciseControls(*form); }
    /// The trainee's live settings, which the window reads and changes.
    LiveSettings &settings() { return session->settings(); }

    void clickList(int row)
    {
        QListWidget *list = ui().ListBox3;
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    /// The list entry of the first female or male problem.
    int rowOf(bool female) const
    {
        for (int row = 0; row < ui().ListBox3->count(); ++row) {
            const QString name = form->library().nameAtPosition(row).value_or(QString());
            if (IsFemaleProblem(name) == female)
                return row;
        }
        return -1;
    }
    /// Deals the problem at row and starts the clock: pieces can be dragged.
    void started(int row)
    {
        clickList(row);
        QTest::mouseClick(ui().Button4, Qt::LeftButton);
    }
    /// Deals, starts and scores: the answer can be shown.
    void scored(int row)
    {
        started(row);
        QTest::mouseClick(ui().Button1, Qt::LeftButton);
    }
    void showAnswer() { QTest::mouseClick(ui().Button5, Qt::LeftButton); }

    /// Press on a piece, move past the drag distance, release over a point of target.
    void drag(int piece, QWidget *target, QPoint at)
    {
        PieceImage *image = ui().InOutPanel->piece(piece);
        const QPoint start = image->rect().center();
        QTest::mousePress(image, Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(12, 12)),
                         QPointF(image->mapToGlobal(start + QPoint(12, 12))), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(image, &move);
        const QPoint global = target->mapToGlobal(at);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(image->mapFromGlobal(global)),
                            QPointF(global), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(image, &release);
    }
    /// Drops a piece into a place of the trainee's karyogram.
    void place(int piece, int slot)
    {
        drag(piece, ui().InOutPanel->placePanel(slot), QPoint(10, 10));
    }
};

} // namespace queldo::test
