#include "ExerciseControls.h"
#include "ProblemFixture.h"
#include "TraineeFixture.h"
#include "core/app/AppPaths.h"
#include "core/board/ProblemFolder.h"
#include "core/board/SeededRandom.h"
#include "core/results/ResultsFile.h"
#include "core/settings/LiveSettings.h"
#include "ui/board/PieceImage.h"
#include "ui/exercise/AnswerPairView.h"
#include "ui/exercise/TForm1.h"
#include "ui/exercise/TForm16.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

const QString Trisomy = QStringLiteral("異常男性染色体核型no11");

/// An exercise window over one normal problem (001) and a 47,XY,+21 cell (002), whose third
/// 21 is piece 42.
struct Window
{
    QTemporaryDir dir;
    std::unique_ptr<AppPaths> paths;
    SeededRandom random{7};
    QString userId = QStringLiteral("u");
    std::unique_ptr<TraineeSession> session;
    std::unique_ptr<TForm1> form;
    TForm16 answer;
    QList<ScoredAbnormalCell> scored;

    Window()
    {
        const QString images = dir.filePath("Images");
        QDir().mkpath(images);
        writeProblemFolder(images, knownProblemNames()[0]);
        QStringList bitmaps = normalBitmapNames();
        bitmaps.insert(42, QStringLiteral("21-3.bmp"));
        writeAbnormalProblemFolder(images, Trisomy, bitmaps, "47,XY,+21", {"21-3.bmp"});
        paths = std::make_unique<AppPaths>(dir.path(), dir.path());
        paths->enterImagesFolder();
        QDir(dir.path()).mkpath("Result/u");
        ResultsFile::create(dir.filePath("Result/u/u.kek"));
        session = loggedInTrainee(*paths, userId);
        session->settings().alignmentMode = true; // dropped pieces stand upright
        form = std::make_unique<TForm1>(*paths, random, *session);
        form->setAnswerWindow(&answer);
        QObject::connect(form.get(), &TForm1::abnormalCellScored,
                         [this](const ScoredAbnormalCell &attempt) { scored << attempt; });
        form->resize(1024, 740);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    ExerciseControls ui() const { return ExerciseControls(*form); }

    void clickList(int row)
    {
        QListWidget *list = ui().ListBox3;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void drag(int piece, QWidget *target)
    {
        PieceImage *image = ui().InOutPanel->piece(piece);
        const QPoint start = image->rect().center();
        QTest::mousePress(image, Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(12, 12)),
                         QPointF(image->mapToGlobal(start + QPoint(12, 12))), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(image, &move);
        const QPoint global = target->mapToGlobal(QPoint(20, 20));
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(image->mapFromGlobal(global)),
                            QPointF(global), Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(image, &release);
    }
    QWidget *panel(const char *name) { return form->findChild<QWidget *>(QLatin1String(name)); }
};

} // namespace

class TestAbnormalExercise : public QObject
{
    Q_OBJECT
private slots:
    // A cell of 47: every piece dealt, a spare place at each row's end, the third 21 taken by
    // row 4's; scored out of 47, handed on for its karyotype and kept out of the files of
    // normal attempts.
    void trisomyIsDealtPlacedAndScoredOutOf47()
    {
        Window w;
        TForm1 &form = *w.form;
        const ExerciseControls ui(form);
        w.clickList(0);
        const QRect normalPlace9 = ui.InOutPanel->placePanel(9)->geometry();
        QVERIFY(!w.panel("SparePanel1")->isVisible());

        w.clickList(1);
        QCOMPARE(form.currentProblemName(), Trisomy);
        for (int k = 0; k < MostPieces; ++k)
            QVERIFY(ui.InOutPanel->piece(k)->isVisible());
        for (const char *spare : {"SparePanel1", "SparePanel2", "SparePanel3", "SparePanel4"})
            QVERIFY(w.panel(spare)->isVisible());
        QCOMPARE(w.panel("SparePanel4")->parentWidget(), ui.InOutPanel->rowPanel(3));
        QVERIFY(ui.InOutPanel->placePanel(9)->width() < normalPlace9.width());

        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        w.drag(42, w.panel("SparePanel4"));
        w.drag(40, ui.InOutPanel->placePanel(40));
        w.drag(0, w.panel("SparePanel1")); // a 1 of a cell with two 1s
        QCOMPARE(form.board().SlotContents[49], 42);
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        QCOMPARE(ui.Button1->text(), QStringLiteral("正答率：2/47\n 継続して修正しますか?"));
        QCOMPARE(w.panel("SparePanel4")->palette().color(QPalette::Window), QColor(0x66FFFF));
        QCOMPARE(w.panel("SparePanel1")->palette().color(QPalette::Window), QColor(0xFF6600));
        QCOMPARE(w.panel("SparePanel2")->palette().color(QPalette::Window), QColor(0x66FFFF));

        QCOMPARE(w.scored.size(), 1);
        const ScoredAbnormalCell &attempt = w.scored[0];
        QCOMPARE(attempt.problemName, Trisomy);
        QCOMPARE(attempt.problemNumber, 2);
        QCOMPARE(attempt.karyotype.iscn(), QStringLiteral("47,XY,+21"));
        QCOMPARE(attempt.score.chromosomes, 47);
        QCOMPARE(attempt.score.correct, 2);
        QCOMPARE(attempt.score.codes[49], 1);
        QCOMPARE(attempt.score.codes[46], 0);
        QCOMPARE(attempt.score.codes[47], 2);
        QCOMPARE(attempt.slotContents[40], 40);
        QCOMPARE(attempt.date, form.todayText());
        QCOMPARE(int(ResultsFile::read(w.dir.filePath("Result/u/u.kek")).records.size()), 0);
        QVERIFY(!QFile::exists(w.dir.filePath("Result/u/u.arr")));

        QTest::mouseClick(ui.Button1, Qt::LeftButton); // a correction pass tells nothing new
        QCOMPARE(w.scored.size(), 1);

        // The answer puts the third 21 in the spare place of its row and names it.
        QTest::mouseClick(ui.Button5, Qt::LeftButton);
        QVERIFY(w.answer.isVisible());
        QVERIFY(w.answer.findChild<QWidget *>("SparePanel4")->isVisible());
        QCOMPARE(w.answer.findChild<QLabel *>("SpareLabel4")->text(), QStringLiteral("21"));
        QVERIFY(!w.answer.findChild<QLabel *>("SpareImage4")->pixmap().isNull());
        QCOMPARE(w.answer.findChild<QLabel *>("SpareLabel1")->text(), QStringLiteral("+"));

        // A normal problem afterwards has today's board again.
        w.clickList(0);
        QVERIFY(!w.panel("SparePanel4")->isVisible());
        QVERIFY(!ui.InOutPanel->piece(46)->isVisible());
        QCOMPARE(ui.InOutPanel->placePanel(9)->geometry(), normalPlace9);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        QCOMPARE(ui.Button1->text(), QStringLiteral("正答率：0/46\n 継続して修正しますか?"));
        QCOMPARE(int(ResultsFile::read(w.dir.filePath("Result/u/u.kek")).records.size()), 1);
        QCOMPARE(w.scored.size(), 1);
    }

    // The third 21 is seen large as the others are: under the loupe in its spare place, and
    // beside its pair in the answer, from either place of the pair or from its own.
    void aTrisomysThirdIsShownLargeWithItsPair()
    {
        Window w;
        const ExerciseControls form(*w.form);
        w.clickList(1);
        QTest::mouseClick(form.Button4, Qt::LeftButton);
        QWidget *spare = w.panel("SparePanel4");
        w.drag(42, spare);
        const auto ctrlOver = [](QWidget *place) {
            const QPoint at(2, place->height() - 3);
            QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(place->mapToGlobal(at)),
                             Qt::NoButton, Qt::NoButton, Qt::ControlModifier);
            QApplication::sendEvent(place, &move);
        };
        ctrlOver(spare);
        QLabel *loupe = form.InOutPanel->loupe();
        QVERIFY(loupe && loupe->isVisible());
        QCOMPARE(loupe->property("piece").toInt(), 42);
        // An empty spare place takes any class of its row: there is no one ideogram to show.
        ctrlOver(w.panel("SparePanel1"));
        QVERIFY(!loupe->isVisible());

        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QTest::mouseClick(form.Button5, Qt::LeftButton);
        AnswerPairView *view = control<AnswerPairView>(w.answer, "PairView");
        for (QWidget *place : {w.answer.placePanel(41), w.answer.placePanel(49)}) {
            QTest::mouseClick(place, Qt::LeftButton, {}, QPoint(2, 30));
            QVERIFY(view->isVisible());
            QCOMPARE(view->pair(), 40);
            QVERIFY(control<QLabel>(*view, "PairHeading")
                        ->text()
                        .startsWith(QStringLiteral("21番染色体")));
            for (int i = 0; i < MostOfAClass; ++i)
                QVERIFY(view->picture(i)->isVisible());
            QVERIFY(view->picture(2)->x() > view->picture(1)->geometry().right());
            QVERIFY(view->rect().contains(view->picture(2)->geometry()));
            QTest::keyClick(view, Qt::Key_Escape);
        }
        // A pair without a third shows two; an empty spare place shows nothing.
        QTest::mouseClick(w.answer.placePanel(0), Qt::LeftButton, {}, QPoint(2, 30));
        QVERIFY(view->picture(1)->isVisible());
        QVERIFY(!view->picture(2)->isVisible());
        QTest::keyClick(view, Qt::Key_Escape);
        QTest::mouseClick(w.answer.placePanel(46), Qt::LeftButton, {}, QPoint(2, 30));
        QVERIFY(!view->isVisible());
    }
};

QTEST_MAIN(TestAbnormalExercise)
#include "test_abnormal_exercise.moc"
