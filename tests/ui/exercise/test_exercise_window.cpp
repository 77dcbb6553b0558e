#include "ExerciseFixture.h"
#include "ModalAnswer.h"
#include "ProblemFixture.h"
#include "TraineeFixture.h"
#include "core/app/AppPaths.h"
#include "core/board/ChromosomeBitmapOps.h"
#include "core/board/ProblemLibrary.h"
#include "core/board/SeededRandom.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "core/settings/LiveSettings.h"
#include "ui/board/PieceImage.h"
#include "ui/common/ProgramFonts.h"
#include "ui/common/WrappingButton.h"
#include "ui/exercise/TForm1.h"
#include "ui/exercise/TForm16.h"
#include "ui/results/ReplayWindow.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

/// The shared exercise window over the first two known problems (both female), and the wheel
/// turned over it.
struct Window : ExerciseFixture
{
    explicit Window(int problems = 2) : ExerciseFixture(problems) {}

    void wheel(int delta, int horizontal = 0)
    {
        QWheelEvent event(QPointF(5, 5), QPointF(form->mapToGlobal(QPoint(5, 5))), {},
                          QPoint(horizontal, delta), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(ui().ListBox3, &event);
    }
};

} // namespace

class TestExerciseWindow : public QObject
{
    Q_OBJECT
private slots:
    void layoutAtDesignSize()
    {
        Window w;
        QCOMPARE(
            w.form->findChildren<QWidget *>(QRegularExpression("^Panel(1[0-9]|[2-4][0-9]|5[0-5])$"))
                .size(),
            46);
        QCOMPARE(w.ui().InOutPanel->spread()->height(), w.ui().InOutPanel->height() / 2);
        QCOMPARE(w.ui().Button5->x(), w.ui().Button1->width());
        QCOMPARE(w.ui().InOutPanel->placePanel(9)->x() + w.ui().InOutPanel->placePanel(9)->width(),
                 w.ui().InOutPanel->rowPanel(0)->width() - 2);
    }

    void dealDragWheelAndBack()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(1);
        QCOMPARE(form.currentProblemName(), knownProblemNames()[1]);
        // A normal cell's 46 pieces; the board's last one is for a cell of 47.
        for (int k = 0; k < 46; ++k) {
            const PieceImage *piece = ui.InOutPanel->piece(k);
            QVERIFY(piece->isVisible());
            QCOMPARE(piece->parentWidget(), ui.InOutPanel->spread());
        }
        QVERIFY(!ui.InOutPanel->piece(46)->isVisible());
        QVERIFY(ui.Button4->isEnabled());

        // Before スタート nothing can be dragged.
        w.drag(10, ui.InOutPanel->placePanel(10), QPoint(20, 20));
        QCOMPARE(form.board().SlotContents[10], -1);

        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        QCOMPARE(ui.Button4->text(), QStringLiteral("一時停止"));
        w.drag(10, ui.InOutPanel->placePanel(10), QPoint(20, 20));
        QCOMPARE(form.board().SlotContents[10], 10);
        QCOMPARE(ui.InOutPanel->piece(10)->parentWidget(), ui.InOutPanel->placePanel(10));

        // Occupied: refused, nothing moves.
        w.drag(11, ui.InOutPanel->placePanel(10), QPoint(20, 20));
        QCOMPARE(form.board().SlotContents[10], 10);
        QCOMPARE(ui.InOutPanel->piece(11)->parentWidget(), ui.InOutPanel->spread());

        // Right-click, then one wheel notch turns it by a step.
        const int step = form.board().RotationStep[10];
        QContextMenuEvent context(QContextMenuEvent::Mouse, QPoint(2, 2),
                                  ui.InOutPanel->piece(10)->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(ui.InOutPanel->piece(10), &context);
        QCOMPARE(form.board().SelectedPiece, 10);
        w.wheel(0, 120); // a tilt or a horizontal wheel turns nothing
        QCOMPARE(form.board().RotationStep[10], step);
        w.wheel(120);
        QCOMPARE(form.board().RotationStep[10], (step + 1) % 24);
        QCOMPARE(ui.InOutPanel->piece(10)->size(), form.board().piecePicture[10].size());

        w.drag(10, ui.InOutPanel->spread(), QPoint(100, 60));
        QCOMPARE(form.board().SlotContents[10], -1);
        QCOMPARE(ui.InOutPanel->piece(10)->parentWidget(), ui.InOutPanel->spread());
        QCOMPARE(ui.InOutPanel->piece(10)->x() + ui.InOutPanel->piece(10)->width() / 2, 100);
        QCOMPARE(ui.InOutPanel->piece(10)->y() + ui.InOutPanel->piece(10)->height() / 2, 60);
    }

    void clockAndButtons()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        QVERIFY(!ui.Button4->isEnabled());
        QTest::mouseClick(ui.Button2, Qt::LeftButton);
        QVERIFY(ui.Button4->isEnabled());
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        QVERIFY(ui.Timer1->isActive());
        form.Timer1Timer();
        form.Timer1Timer();
        QCOMPARE(ui.Label58->text(), QStringLiteral("2"));
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        QCOMPARE(ui.Button4->text(), QStringLiteral("再スタート"));
        QVERIFY(!ui.Timer1->isActive());
        QTest::mouseClick(ui.Button2, Qt::LeftButton);
        QCOMPARE(ui.Label58->text(), QStringLiteral("0"));
        ui.New1->trigger();
        for (int k = 0; k < MostPieces; ++k)
            QVERIFY(!ui.InOutPanel->piece(k)->isVisible());
    }

    void afterResetNothingCanBeScoredUntilAProblemIsChosen()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        ui.New1->trigger();
        QVERIFY(!ui.Button1->isEnabled());
        QVERIFY(!ui.Button4->isEnabled());
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        QCOMPARE(int(ResultsFile::read(w.dir.filePath("Result/u/u.kek")).records.size()), 0);
        w.clickList(1);
        QVERIFY(ui.Button4->isEnabled());
    }

    void arrowKeysInTheNumberListDealTheProblem()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        QCOMPARE(form.currentProblemName(), knownProblemNames()[0]);
        const QImage first = ui.InOutPanel->piece(0)->picture();
        ui.ListBox3->setFocus();
        QTest::keyClick(ui.ListBox3, Qt::Key_Down);
        QCOMPARE(ui.ListBox3->currentRow(), 1);
        QCOMPARE(form.currentProblemName(), knownProblemNames()[1]);
        QVERIFY(ui.InOutPanel->piece(0)->picture() != first);
        form.Timer1Timer(); // the clock keeps the highlight where the keys put it
        QCOMPARE(ui.ListBox3->currentRow(), 1);
        QTest::keyClick(ui.ListBox3, Qt::Key_Up);
        QCOMPARE(form.currentProblemName(), knownProblemNames()[0]);
    }

    void draggingAlongTheNumberListDealsTheRowLeftHighlighted()
    {
        // Pressed on the problem being worked on, released on the next: no click, but the
        // highlight moved, so the board must follow it.
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        QListWidget *list = ui.ListBox3;
        QWidget *viewport = list->viewport();
        const QPoint pressed = list->visualItemRect(list->item(0)).center();
        const QPoint released = list->visualItemRect(list->item(1)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, pressed);
        QMouseEvent move(QEvent::MouseMove, QPointF(released),
                         QPointF(viewport->mapToGlobal(released)), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, released);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(form.currentProblemName(), knownProblemNames()[1]);
    }

    void whiteAroundAChromosomeIsNotThePiece()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        int checked = 0;
        for (int k = 0; k < MostPieces; ++k) {
            PieceImage *piece = ui.InOutPanel->piece(k);
            const QImage &shown = piece->screenPicture();
            for (int y = 0; y < shown.height(); y += 3) {
                for (int x = 0; x < shown.width(); x += 3) {
                    if (qAlpha(shown.pixel(x, y)) != 0 || piece->mask().contains(QPoint(x, y)))
                        continue;
                    const QPoint at = piece->mapTo(ui.InOutPanel->spread(), QPoint(x, y));
                    QVERIFY(ui.InOutPanel->spread()->childAt(at) != piece);
                    ++checked;
                }
            }
        }
        QVERIFY(checked > 0); // turned pieces have white corners
    }

    void aDraggedPieceFollowsThePointerHalfSeenThrough()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        PieceImage *image = ui.InOutPanel->piece(3);
        const QPoint start = image->rect().center();
        QTest::mousePress(image, Qt::LeftButton, {}, start);
        for (const QPoint step : {QPoint(12, 12), QPoint(40, 30)}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(start + step),
                             QPointF(image->mapToGlobal(start + step)), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(image, &move);
        }
        QLabel *drag = ui.InOutPanel->dragImage();
        QVERIFY(drag && drag->isVisible());
        QCOMPARE(drag->size(), image->size());
        QCOMPARE(drag->pos() + QPoint(drag->width() / 2, drag->height() / 2),
                 form.mapFromGlobal(image->mapToGlobal(start + QPoint(40, 30))));
        const QImage picture = drag->pixmap().toImage();
        const QImage shown = image->screenPicture().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                QVERIFY(qAlpha(picture.pixel(x, y)) == qAlpha(shown.pixel(x, y)) / 2);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(start),
                            QPointF(image->mapToGlobal(start)), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(image, &release);
        QVERIFY(!drag->isVisible());
    }

    void middleButtonShowsTheLoupeUntilReleased()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        PieceImage *image = ui.InOutPanel->piece(5);
        const QPoint inside = image->mask().boundingRect().center();
        QTest::mousePress(image, Qt::MiddleButton, {}, inside);
        QLabel *loupe = ui.InOutPanel->loupe();
        QVERIFY(loupe && loupe->isVisible());
        // Piece 5 of the fixture is 14 x 56: enlarged to a readable size, within the window.
        const QSize shown = loupe->pixmap().size();
        QVERIFY2(std::max(shown.width(), shown.height()) >= 150,
                 qPrintable(QStringLiteral("%1 x %2").arg(shown.width()).arg(shown.height())));
        QVERIFY(form.rect().contains(loupe->geometry()));
        QTest::mouseRelease(image, Qt::MiddleButton, {}, inside);
        QVERIFY(!loupe->isVisible());
    }

    void ctrlShowsTheLoupeOfThePieceUnderThePointer()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        PieceImage *image = ui.InOutPanel->piece(5);
        image->raise();
        QCursor::setPos(image->mapToGlobal(image->mask().boundingRect().center()));
        if (QApplication::widgetAt(QCursor::pos()) != image)
            QSKIP("this platform does not move the pointer");
        QTest::keyPress(&form, Qt::Key_Control);
        QLabel *loupe = ui.InOutPanel->loupe();
        QVERIFY(loupe && loupe->isVisible());
        QCOMPARE(loupe->property("piece").toInt(), 5);
        // Ctrl and an arrow key set the loupe's brightness, the board left alone.
        const auto meanOf = [](const QImage &image) {
            qint64 sum = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    sum += qAlpha(image.pixel(x, y)) == 255 ? qGray(image.pixel(x, y)) : 0;
            return sum;
        };
        const qint64 before = meanOf(loupe->pixmap().toImage());
        const BoardState board = form.board();
        QTest::keyPress(&form, Qt::Key_Up, Qt::ControlModifier);
        QVERIFY(meanOf(loupe->pixmap().toImage()) > before);
        QVERIFY(loupe->isVisible());
        QCOMPARE(form.board().RotationStep, board.RotationStep);
        QTest::keyRelease(&form, Qt::Key_Control);
        QVERIFY(!loupe->isVisible());
    }

    void theLoupeOverAPlace_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<int>("lying"); // the piece dropped there first, -1 for none
        QTest::addColumn<int>("ideograms");
        QTest::newRow("empty place of pair 8") << 14 << -1 << 1;
        QTest::newRow("empty X place") << 44 << -1 << 1;
        QTest::newRow("empty XY place: X and Y") << 45 << -1 << 2;
        QTest::newRow("a place holding chromosome 1") << 0 << 0 << 0;
    }
    void theLoupeOverAPlace()
    {
        QFETCH(int, place);
        QFETCH(int, lying);
        QFETCH(int, ideograms);
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        BoardView &board = *ui.InOutPanel;
        QWidget *panel = board.placePanel(place);
        // Before any problem is dealt the places show what belongs there already.
        QTest::mousePress(panel, Qt::MiddleButton, {}, QPoint(3, 3));
        QVERIFY(board.loupe() && board.loupe()->isVisible());
        QTest::mouseRelease(panel, Qt::MiddleButton, {}, QPoint(3, 3));
        QVERIFY(!board.loupe()->isVisible());

        w.clickList(0);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        if (lying >= 0)
            w.drag(lying, panel, QPoint(20, 20));
        // Ctrl held while the pointer moves over the place, away from any piece in it.
        QMouseEvent move(QEvent::MouseMove, QPointF(2, panel->height() - 3),
                         QPointF(panel->mapToGlobal(QPoint(2, panel->height() - 3))), Qt::NoButton,
                         Qt::NoButton, Qt::ControlModifier);
        QApplication::sendEvent(panel, &move);
        QLabel *loupe = board.loupe();
        QVERIFY(loupe->isVisible());
        QVERIFY(form.rect().contains(loupe->geometry()));
        const QImage shown = loupe->pixmap().toImage();
        if (lying >= 0) {
            QCOMPARE(loupe->property("piece").toInt(), lying);
            QVERIFY(std::max(shown.width(), shown.height()) >= 150);
        } else {
            QCOMPARE(loupe->property("place").toInt(), place);
            QVERIFY(shown.height() >= 240);
            // Each ideogram is a group of columns with dark bands below the name.
            int groups = 0;
            bool inGroup = false;
            for (int x = 0; x < shown.width(); ++x) {
                bool dark = false;
                for (int y = 60; y < shown.height() && !dark; ++y)
                    dark = qGray(shown.pixel(x, y)) < 100;
                groups += dark && !inGroup;
                inGroup = dark;
            }
            QCOMPARE(groups, ideograms);
        }
        QMouseEvent plain(QEvent::MouseMove, QPointF(2, 2),
                          QPointF(panel->mapToGlobal(QPoint(2, 2))), Qt::NoButton, Qt::NoButton,
                          {});
        QApplication::sendEvent(panel, &plain);
        QVERIFY(!loupe->isVisible());
    }

    void theWindowComesBackWhereTheTraineeLeftIt()
    {
        Window w;
        w.form->setWindowState(Qt::WindowNoState);
        // Within the offscreen screen (800 x 800): a geometry that does not fit comes back moved
        // onto the screen, which the core's tests show.
        w.form->setGeometry(40, 50, 700, 500);
        w.form->close();
        QVERIFY(QFile::exists(w.dir.filePath("Result/u/u.win")));
        TForm1 again(*w.paths, w.random, *w.session);
        again.restoreRememberedPlacement();
        QCOMPARE(again.normalGeometry(), QRect(40, 50, 700, 500));
        // The screen is under 1024 pixels high: maximised, whatever the trainee left.
        QVERIFY(again.isMaximized());
    }

    void opensWholeOnASmallScreenBeforeMaximising()
    {
        // The offscreen screen (800 x 800) is under 1024 pixels high, so the window opens
        // maximised; where that is not honoured it still lies whole on the screen, centred.
        Window w;
        QVERIFY(w.form->windowState() & Qt::WindowMaximized);
        QCOMPARE(w.form->normalGeometry(), QRect(0, 10, 800, 780));
    }

    void referenceModeRewritesLabels()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        w.drag(14, ui.InOutPanel->placePanel(12), QPoint(20, 20));
        QCOMPARE(ui.InOutPanel->placeLabel(12)->text(), QStringLiteral("7"));
        ui.N1->trigger();
        QCOMPARE(ui.InOutPanel->placeLabel(12)->text(), QStringLiteral("7  8"));
        ui.N1->trigger();
        QCOMPARE(ui.InOutPanel->placeLabel(12)->text(), QStringLiteral("7"));
    }

    void scoringRecordsOnceAndCorrectionsDoNot()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        form.Timer1Timer();
        w.drag(0, ui.InOutPanel->placePanel(0), QPoint(20, 20));
        w.drag(14, ui.InOutPanel->placePanel(12), QPoint(20, 20));
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        const int correct =
            form.board().RotationStep[0] <= 2 || form.board().RotationStep[0] >= 21 ? 1 : 0;
        QCOMPARE(ui.Button1->text(),
                 QStringLiteral("正答率：%1/46\n 継続して修正しますか?").arg(correct));
        QCOMPARE(ui.InOutPanel->placePanel(12)->palette().color(QPalette::Window),
                 QColor(0xFF6600));

        ResultsReadResult read = ResultsFile::read(w.dir.filePath("Result/u/u.kek"));
        QVERIFY(read.ok());
        QCOMPARE(int(read.records.size()), 1);
        const QStringList fields = read.records[0].fields;
        QCOMPARE(fields.size(), 50);
        QCOMPARE(fields[0], QStringLiteral("0"));
        QCOMPARE(fields[1], QStringLiteral("2026/12/10"));
        QCOMPARE(fields[2], QStringLiteral("001"));
        QCOMPARE(fields[3], correct ? QStringLiteral("1") : QStringLiteral("-2"));
        QCOMPARE(fields[15], QStringLiteral("0"));
        QCOMPARE(fields[4], QStringLiteral("-1"));
        QCOMPARE(fields[49], QStringLiteral("1"));

        // What lay where, kept beside the record with its number, date and problem.
        const QString arr = w.dir.filePath("Result/u/u.arr");
        ArrangementFile::ReadResult placed = ArrangementFile::read(arr);
        QVERIFY(placed.ok());
        QCOMPARE(placed.lines.size(), std::size_t(1));
        QCOMPARE(placed.lines[0].recordNumber, 0);
        QCOMPARE(placed.lines[0].date, QStringLiteral("2026/12/10"));
        QCOMPARE(placed.lines[0].problemNumber, 1);
        QCOMPARE(placed.lines[0].places[0].piece, 0);
        QCOMPARE(placed.lines[0].places[0].rotationStep, form.board().RotationStep[0]);
        QCOMPARE(placed.lines[0].places[12].piece, 14);
        QCOMPARE(placed.lines[0].places[1].piece, -1);

        w.drag(1, ui.InOutPanel->placePanel(1), QPoint(20, 20));
        QTest::mouseClick(ui.Button1, Qt::LeftButton); // a correction pass
        QVERIFY(ui.Button1->text().endsWith(QStringLiteral("(1回目)")));
        QCOMPARE(int(ResultsFile::read(w.dir.filePath("Result/u/u.kek")).records.size()), 1);
        QCOMPARE(ArrangementFile::read(arr).lines.size(), std::size_t(1));

        w.clickList(1);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        read = ResultsFile::read(w.dir.filePath("Result/u/u.kek"));
        QCOMPARE(int(read.records.size()), 2);
        QCOMPARE(read.records[1].fields[0], QStringLiteral("1"));
        QCOMPARE(read.records[1].fields[2], QStringLiteral("002"));
        placed = ArrangementFile::read(arr);
        QCOMPARE(placed.lines.size(), std::size_t(2));
        QCOMPARE(placed.lines[1].recordNumber, 1);
        QCOMPARE(placed.lines[1].problemNumber, 2);
    }

    void replayDrawsTheBoardAsItWasScored()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        // Small enough for both karyograms to keep their size on the screen.
        form.setWindowState(Qt::WindowNoState);
        form.setGeometry(0, 0, 760, 600);
        w.clickList(1);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        w.drag(0, ui.InOutPanel->placePanel(0), QPoint(20, 20));
        w.drag(14, ui.InOutPanel->placePanel(12), QPoint(20, 20)); // a 8 where a 7 belongs
        w.drag(45, ui.InOutPanel->placePanel(44), QPoint(20, 20));
        w.drag(30, ui.InOutPanel->placePanel(31), QPoint(20, 20));
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        QWidget *scored = ui.InOutPanel->karyogram();
        const QImage asScored = scored->grab().toImage();

        const auto read = ArrangementFile::read(w.dir.filePath("Result/u/u.arr"));
        QCOMPARE(read.lines.size(), std::size_t(1));
        const ArrangementLine &line = read.lines[0];
        ReplayWindow replay(QDir(w.paths->imagesFolder()));
        replay.setSession(w.session.get());
        TForm16 answer;
        QCOMPARE(replay.showAttempt(line, knownProblemNames()[line.problemNumber - 1],
                                    scored->size(), answer),
                 QString());
        replay.show();
        QVERIFY(QTest::qWaitForWindowExposed(&replay));
        BoardView *attempt = control<BoardView>(replay, "Attempt");
        QWidget *answerArea = control<QWidget>(replay, "AnswerArea");
        const QImage replayed = attempt->karyogram()->grab().toImage();
        QCOMPARE(replayed.size(), asScored.size());
        QVERIFY(replayed == asScored);

        // Beside it, the answer: every piece upright in its own place.
        QVERIFY(answer.isVisible());
        QCOMPARE(answer.parentWidget(), answerArea);
        const auto rgb = [](const QImage &image) {
            return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        QCOMPARE(
            rgb(answer.image(14)->pixmap().toImage()),
            rgb(renderUpright(attempt->problem().SourceBitmap[14], w.settings().EffectiveScale)));

        // Made smaller, both karyograms follow the window, every chromosome whole in its place;
        // back at its first size it shows the attempt exactly as scored again.
        const QSize first = replay.size();
        std::array<QSize, 46> pieceSizes{};
        for (std::size_t i = 0; i < 46; ++i)
            pieceSizes[i] = attempt->piece(i)->size();
        replay.resize(first - QSize(180, 160));
        QCOMPARE(answerArea->size(), attempt->size());
        QVERIFY(attempt->height() < asScored.height());
        const QSize karyogram = attempt->size();
        QCOMPARE(attempt->karyogram()->size(), karyogram);
        QCOMPARE(answer.width(), karyogram.width() - 20);
        QVERIFY(attempt->rowPanel(3)->geometry().bottom() < karyogram.height());
        for (std::size_t i = 0; i < 46; ++i)
            QVERIFY(answer.placePanel(i)->rect().contains(answer.image(i)->geometry()));
        // The pieces are drawn at the scale the smaller places give, as the exercise would.
        for (std::size_t i = 0; i < 46; ++i) {
            const QSize now = attempt->piece(i)->size();
            QVERIFY(now.width() <= pieceSizes[i].width() && now.height() <= pieceSizes[i].height());
        }
        QVERIFY(attempt->piece(0)->height() < pieceSizes[0].height());
        replay.resize(first);
        QVERIFY(attempt->karyogram()->grab().toImage() == asScored);

        // Closing lends the answer window back, hidden, so that it outlives this one.
        replay.reject();
        QVERIFY(!answer.isVisible());
        QCOMPARE(answer.parentWidget(), nullptr);
    }

    void replayFitsTheScreenOfAMaximisedWindow()
    {
        Window w; // maximised on the 800 x 800 offscreen screen
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(1);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        const QSize scored = ui.InOutPanel->karyogram()->size();
        QVERIFY(2 * scored.height() > 800 - 60);
        const auto read = ArrangementFile::read(w.dir.filePath("Result/u/u.arr"));
        QCOMPARE(read.lines.size(), std::size_t(1));
        ReplayWindow replay(QDir(w.paths->imagesFolder()));
        replay.setSession(w.session.get());
        TForm16 answer;
        QCOMPARE(replay.showAttempt(read.lines[0], knownProblemNames()[1], scored, answer),
                 QString());
        replay.show();
        QVERIFY(QTest::qWaitForWindowExposed(&replay));
        QVERIFY(QRect(0, 0, 800, 800).contains(replay.frameGeometry()));
        const BoardView *attempt = control<BoardView>(replay, "Attempt");
        const QWidget *answerArea = control<QWidget>(replay, "AnswerArea");
        // Both karyograms shrink alike, keeping their shape.
        QCOMPARE(answerArea->size(), attempt->size());
        QVERIFY(attempt->height() < scored.height());
        QVERIFY(qAbs(attempt->width() * scored.height() - scored.width() * attempt->height()) <=
                scored.height());
        replay.reject();
    }

    void scoringCaptionsFitTheirButton_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("design size") << QSize(990, 780);
        QTest::newRow("1024 x 768") << QSize(1024, 740);
        QTest::newRow("1920 x 1080") << QSize(1920, 1040);
    }
    void scoringCaptionsFitTheirButton()
    {
        QFETCH(QSize, size);
        installProgramFonts();
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        form.resize(size);
        w.clickList(0);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        auto *button = qobject_cast<WrappingButton *>(ui.Button1);
        QVERIFY(button);
        for (int pass = 0; pass < 3; ++pass) {
            QTest::mouseClick(ui.Button1, Qt::LeftButton);
            const FittedCaption caption = button->fittedCaption();
            const QFontMetrics metrics(caption.font);
            const QRect box = button->captionRect();
            QVERIFY(box.width() < 120); // the caption would not fit on one line
            QCOMPARE(caption.lines.join(QString()), ui.Button1->text().remove('\n'));
            // Broken between words only: the score and each phrase whole on its line.
            static const QRegularExpression word(QStringLiteral(
                "^ ?(正答率：\\d+/46|継続して|修正しますか\\?|継続して修正しますか\\?|"
                "修正中 ?|\\(\\d+回目\\)|修正中 \\(\\d+回目\\))$"));
            for (const QString &line : caption.lines) {
                QVERIFY2(metrics.horizontalAdvance(line) <= box.width(), qPrintable(line));
                QVERIFY2(word.match(line).hasMatch(), qPrintable(line));
            }
            QVERIFY(caption.lines.size() * metrics.height() <= box.height());
            QVERIFY2(caption.font.pixelSize() >= 9,
                     qPrintable(QString::number(caption.font.pixelSize())));
        }
    }

    void recordsAreDatedTheJapaneseWayWhateverTheLocale()
    {
        Window w(0);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TForm1 plain(*w.paths, w.random, *w.session);
        QLocale::setDefault(QLocale::system());
        QCOMPARE(plain.todayText(), QDate::currentDate().toString(u"yyyy/MM/dd"));
    }

    void aDamagedResultsFileKeepsTheAttemptAndSaysSoOnce()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        QFile file(w.dir.filePath("Result/u/u.kek"));
        QVERIFY(file.open(QIODevice::Append));
        file.write("0,2026/12/09,001,\x81\r\n"); // a byte code page 932 cannot read
        file.close();
        int messages = 0;
        for (int problem = 0; problem < 2; ++problem) {
            ModalAnswer answer(ModalAnswer::defaultButton());
            w.clickList(problem);
            QTest::mouseClick(ui.Button4, Qt::LeftButton);
            QTest::mouseClick(ui.Button1, Qt::LeftButton);
            messages += answer.className.isEmpty() ? 0 : 1;
        }
        QCOMPARE(messages, 1);
        QFile again(w.dir.filePath("Result/u/u.kek"));
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll().count('\n'), 4); // header, the damaged line, two attempts
    }

    void brokenProblemLeavesAnEmptyBoard()
    {
        Window w;
        w.clickList(0);
        QFile::remove(w.dir.filePath("Images/" + knownProblemNames()[0] + "/20-1.bmp"));
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        w.clickList(0);
        QVERIFY(shown.contains("20-1.bmp"));
        for (int k = 0; k < MostPieces; ++k)
            QVERIFY(!w.ui().InOutPanel->piece(k)->isVisible());
        QVERIFY(!w.ui().Button4->isEnabled());
    }

    void noProblemInstalledSaysSo()
    {
        Window w(0);
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        QTest::mouseClick(w.ui().Button2, Qt::LeftButton);
        QVERIFY(shown.contains(QStringLiteral("問題")));
        QVERIFY(!w.ui().Button4->isEnabled());
    }
};

QTEST_MAIN(TestExerciseWindow)
#include "test_exercise_window.moc"
