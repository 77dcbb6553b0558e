#include "ExerciseFixture.h"
#include "SettingsControls.h"
#include "ui/settings/TPagesDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

QString label(const TForm1 &form, int place)
{
    const ExerciseControls ui(form);
    return ui.InOutPanel->placeLabel(place)->text();
}
QColor colour(const TForm1 &form, int place)
{
    const ExerciseControls ui(form);
    return ui.InOutPanel->placePanel(place)->palette().color(QPalette::Window);
}

} // namespace

class TestReferenceMode : public QObject
{
    Q_OBJECT
private slots:
    void menuEntryAndCheckBoxKeptEqual()
    {
        ExerciseFixture f;
        TPagesDlg pages(*f.paths);
        pages.setSession(f.session.get());
        TForm1 &form = *f.form;
        const ExerciseControls ui(form);
        QVERIFY(!ui.N1->isChecked());
        ui.N1->trigger();
        pages.syncFromSettings();
        QVERIFY(ui.N1->isChecked());
        QVERIFY(SettingsControls(pages).Cheat->isChecked());
        ui.N1->trigger(); // twice: back where it was
        pages.syncFromSettings();
        QVERIFY(!ui.N1->isChecked());
        QVERIFY(!SettingsControls(pages).Cheat->isChecked());
    }

    // A session given after the window was made brings its settings: the menu entry follows
    // them and drops read them, not the first session's.
    void laterSessionsSettingsRuleTheWindow()
    {
        ExerciseFixture f;
        const ExerciseControls ui(*f.form);
        const std::unique_ptr<TraineeSession> later = loggedInTrainee(*f.paths, "v");
        later->settings().referenceMode = true;
        later->settings().alignmentMode = true;
        f.form->setSession(later.get());
        f.form->applySettingsDialog();
        QVERIFY(ui.N1->isChecked());
        f.started(f.rowOf(true));
        int piece = 0;
        while (f.form->board().RotationStep[std::size_t(piece)] == 0)
            ++piece;
        f.place(piece, 14);
        QCOMPARE(f.form->board().placeOf(piece), 14);
        QCOMPARE(f.form->board().RotationStep[std::size_t(piece)], 0); // stood upright
        f.form->setSession(f.session.get());
    }

    void labelsOfTheTable_data()
    {
        QTest::addColumn<bool>("female");
        QTest::addColumn<int>("piece");
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("label");
        QTest::newRow("11 in a place of 8") << true << 20 << 14 << "8  11";
        QTest::newRow("8 in its place") << true << 15 << 14 << "8  8";
        QTest::newRow("Y in a place of 2") << false << 45 << 3 << "2  Y";
        QTest::newRow("female second X in the X place") << true << 45 << 44 << "X  X";
        QTest::newRow("X in the XY place") << false << 44 << 45 << "XY  X";
        QTest::newRow("4 in the X place") << false << 7 << 44 << "X  4";
    }
    void labelsOfTheTable()
    {
        QFETCH(bool, female);
        QFETCH(int, piece);
        QFETCH(int, place);
        QFETCH(QString, label);
        ExerciseFixture f;
        TForm1 &form = *f.form;
        const ExerciseControls ui(form);
        ui.N1->trigger();
        f.started(f.rowOf(female));
        // An empty board reads plainly in reference mode too.
        QCOMPARE(::label(form, 45), QStringLiteral("XY"));
        QCOMPARE(::label(form, 14), QStringLiteral("8"));
        f.place(piece, place);
        QCOMPARE(form.board().SlotContents[std::size_t(place)], piece);
        QCOMPARE(::label(form, place), label);
        QCOMPARE(ui.InOutPanel->placeLabel(place)->pos(), QPoint(2, 2));
        // Off: plain place names, "X" and "XY" on the sex-chromosome places whatever lies there.
        ui.N1->trigger();
        QCOMPARE(::label(form, place), place == 44   ? QStringLiteral("X")
                                       : place == 45 ? QStringLiteral("XY")
                                                     : QString::number(place / 2 + 1));
        // On again: every place at once, not only those changed since.
        ui.N1->trigger();
        QCOMPARE(::label(form, place), label);
    }

    void switchingDuringCorrectionKeepsTheColours()
    {
        ExerciseFixture f;
        TForm1 &form = *f.form;
        const ExerciseControls ui(form);
        f.started(f.rowOf(false));
        f.place(20, 14); // chromosome 11 in a place of 8: wrong
        f.place(44, 45); // the X in the XY place of a male cell: wrong
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        QTest::mouseClick(ui.Button1, Qt::LeftButton); // correcting
        QCOMPARE(colour(form, 14), QColor(0xFF6600));
        QCOMPARE(::label(form, 45), QStringLiteral("XY"));
        QCOMPARE(colour(form, 0), QColor(0xFF6600)); // empty

        ui.N1->trigger();
        QCOMPARE(::label(form, 14), QStringLiteral("8  11"));
        QCOMPARE(::label(form, 45), QStringLiteral("XY  X"));
        QCOMPARE(::label(form, 0), QStringLiteral("1"));
        QCOMPARE(colour(form, 14), QColor(0xFF6600));
        QCOMPARE(colour(form, 45), QColor(0xFF6600));
        ui.N1->trigger();
        QCOMPARE(::label(form, 14), QStringLiteral("8"));
        QCOMPARE(::label(form, 45), QStringLiteral("XY"));
        QCOMPARE(colour(form, 14), QColor(0xFF6600));
    }

    void checkBoxWithoutOkLeavesTheDropsToTheMenu()
    {
        ExerciseFixture f;
        TForm1 &form = *f.form;
        const ExerciseControls ui(form);
        f.started(f.rowOf(true));
        // The dialog's check box changed and the dialog closed without OK.
        f.settings().referenceMode = true;
        f.place(20, 14);
        QCOMPARE(::label(form, 14), QStringLiteral("8"));
        QVERIFY(!ui.N1->isChecked());
        // Scoring reads the check box: the wrong chromosome is named.
        QTest::mouseClick(ui.Button1, Qt::LeftButton);
        QCOMPARE(::label(form, 14), QStringLiteral("8 × 11"));
    }
};

QTEST_MAIN(TestReferenceMode)
#include "test_reference_mode.moc"
