#include "ProblemFixture.h"
#include "app/AppPaths.h"
#include "board/ProblemLibrary.h"
#include "board/SeededRandom.h"
#include "board/TForm1.h"
#include "board/PieceImage.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

class TestExerciseWindow : public QObject
{
    Q_OBJECT
private slots:
    void dealsAProblemOntoTheSpread()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images");
        writeProblemFolder(dir.filePath("Images"), knownProblemNames()[1]);
        AppPaths paths(dir.path(), dir.path());
        paths.enterImagesFolder();
        SeededRandom random(5);
        TForm1 form(paths, random);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.library().count(), 1);
        QVERIFY(form.chooseProblem(0));
        for (PieceImage *piece : form.pieces) {
            QVERIFY(piece->isVisible());
            QCOMPARE(piece->parentWidget(), form.InputPanel);
            QVERIFY(!piece->picture().isNull());
        }
        QVERIFY(form.effectiveScale() > 0);
    }

    void brokenProblemLeavesAnEmptyBoard()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images");
        const QString name = knownProblemNames()[0];
        writeProblemFolder(dir.filePath("Images"), name);
        AppPaths paths(dir.path(), dir.path());
        paths.enterImagesFolder();
        SeededRandom random(5);
        TForm1 form(paths, random);
        form.show();
        QVERIFY(form.chooseProblem(0));
        QFile::remove(dir.filePath("Images/" + name + "/20-1.bmp"));
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        QVERIFY(!form.chooseProblem(0));
        QVERIFY(shown.contains("20-1.bmp"));
        for (PieceImage *piece : form.pieces)
            QVERIFY(!piece->isVisible());
    }
};

QTEST_MAIN(TestExerciseWindow)
#include "test_exercise_window.moc"
