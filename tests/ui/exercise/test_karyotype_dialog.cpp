#include "core/app/AppPaths.h"
#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeReader.h"
#include "core/results/AbnormalAttemptsFile.h"
#include "ui/exercise/KaryotypeDialog.h"
#include "ui/exercise/KaryotypeQuestionStep.h"

#include "FileBytes.h"
#include "KaryotypeControls.h"
#include "ModalAnswer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

Karyotype karyotype(const char *text)
{
    return readKaryotype(QString::fromLatin1(text), BandNames::embedded()).karyotype;
}

void choose(QComboBox *box, const QString &text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
}

} // namespace

class TestKaryotypeDialog : public QObject
{
    Q_OBJECT
private slots:
    void typedAnswerIsScoredWithItsFeedback_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("+21 right") << "47,XY,+21"
                                   << "47,XY,+21" << u"正解です。(3 / 3 点)"_qs;
        QTest::newRow("t(9;22) wrong breakpoint")
            << "46,XY,t(9;22)(q34.1;q11.2)"
            << "46,XY,t(9;22)(q34.1;q12)"
            << u"不正解です。(2.7 / 3 点)\n切断点は 22q11.2 です (回答: 22q12)"_qs;
    }
    void typedAnswerIsScoredWithItsFeedback()
    {
        QFETCH(QString, expected);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        KaryotypeDialog dialog(KaryotypeQuestion(karyotype(expected.toLatin1())), {1, 1, 0}, false);
        const KaryotypeControls ui(dialog);
        dialog.show();
        // Out of the cell's chromosomes (the count that opens its karyotype), not of the places.
        QVERIFY(ui.ArrangementLabel->text().startsWith(u"配置の採点: 正解 2 / "_qs +
                                                       expected.left(2) + u" 本。"_qs));
        QTest::keyClicks(ui.KaryotypeEdit, typed);
        ui.AnswerButton->click();
        QCOMPARE(ui.ResultLabel->text(), shown);
        QVERIFY(ui.ResultLabel->isVisible());
        QCOMPARE(dialog.answer().written, typed);
        // The answer is kept: the text can no longer be changed, and the button closes.
        QVERIFY(ui.KaryotypeEdit->isReadOnly());
        QCOMPARE(ui.AnswerButton->text(), u"閉じる"_qs);
    }

    // A typing slip is sent back, not scored; the symbol buttons write where the cursor is.
    void unreadableTextIsSentBack()
    {
        KaryotypeDialog dialog(KaryotypeQuestion(karyotype("47,XY,+21")), {}, false);
        const KaryotypeControls ui(dialog);
        dialog.show();
        QTest::keyClicks(ui.KaryotypeEdit, "47,XY21");
        ui.AnswerButton->click();
        QVERIFY(ui.ProblemLabel->isVisible());
        QVERIFY(!ui.ResultLabel->isVisible());
        QVERIFY(dialog.answer().written.isEmpty());

        ui.KaryotypeEdit->setCursorPosition(5);
        const auto plus = ui.SymbolRow->findChildren<QPushButton *>();
        const auto button =
            std::find_if(plus.begin(), plus.end(), [](QPushButton *b) { return b->text() == "+"; });
        QVERIFY(button != plus.end());
        (*button)->click();
        QCOMPARE(ui.KaryotypeEdit->text(), "47,XY+21");
        QVERIFY(!ui.ProblemLabel->isVisible());
    }

    void choicesBuildTheText()
    {
        KaryotypeDialog dialog(KaryotypeQuestion(karyotype("46,XY,t(9;22)(q34.1;q11.2)")), {},
                               true);
        const KaryotypeControls ui(dialog);
        dialog.show();
        QVERIFY(ui.ChoicesPanel->isVisible());
        QVERIFY(!ui.SymbolRow->isVisible());
        QVERIFY(ui.KaryotypeEdit->isReadOnly());
        QCOMPARE(ui.KaryotypeEdit->text(), "46,XY");
        choose(ui.KindChoice, u"相互転座 t"_qs);
        choose(ui.FirstChromosomeChoice, "9");
        choose(ui.SecondChromosomeChoice, "22");
        choose(ui.FirstBandChoice, "q34.1");
        choose(ui.SecondBandChoice, "q11.2");
        QCOMPARE(ui.KaryotypeEdit->text(), "46,XY,t(9;22)(q34.1;q11.2)");
        ui.AnswerButton->click();
        QCOMPARE(ui.ResultLabel->text(), u"正解です。(3 / 3 点)"_qs);

        // A numerical change asks for no band.
        KaryotypeDialog other(KaryotypeQuestion(karyotype("47,XY,+21")), {}, true);
        const KaryotypeControls otherUi(other);
        choose(otherUi.CountChoice, "47");
        choose(otherUi.KindChoice, u"トリソミー (+)"_qs);
        choose(otherUi.FirstChromosomeChoice, "21");
        QVERIFY(!otherUi.FirstBandChoice->isEnabled());
        QCOMPARE(otherUi.KaryotypeEdit->text(), "47,XY,+21");
    }

    // The whole step: asked, answered, kept in the trainee's file, the way of answering
    // remembered; a normal problem asks nothing and writes nothing.
    void stepRecordsTheAttempt()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images/abnormal");
        QDir(dir.path()).mkpath("Images/normal");
        QDir(dir.path()).mkpath("Result/u");
        QVERIFY(
            writeBytes(dir.filePath("Images/abnormal/karyotype.txt"), "47,XY,+21\r\n21-3.bmp\r\n"));
        AppPaths paths(dir.path(), dir.path());
        paths.enterImagesFolder();
        QWidget parent;

        askKaryotypeIfAbnormal(&parent, paths, "u", "normal", {1, {1}, 10});
        QVERIFY(!QFile::exists(dir.filePath("Result/u/u.kry")));

        ModalAnswer answer([](QWidget *modal) {
            const KaryotypeControls ui(*qobject_cast<KaryotypeDialog *>(modal));
            ui.ChoicesCheck->setChecked(true);
            choose(ui.CountChoice, "47");
            choose(ui.KindChoice, u"トリソミー (+)"_qs);
            choose(ui.FirstChromosomeChoice, "21");
            ui.AnswerButton->click();
            ui.AnswerButton->click();
        });
        askKaryotypeIfAbnormal(&parent, paths, "u", "abnormal", {11, {1, 0, -1, -2}, 95});
        QCOMPARE(answer.className, "queldo::KaryotypeDialog");

        const AbnormalAttemptsFile::ReadResult read =
            AbnormalAttemptsFile::read(dir.filePath("Result/u/u.kry"));
        QCOMPARE(read.attempts.size(), 1u);
        const AbnormalAttempt &kept = read.attempts[0];
        QCOMPARE(kept.problemNumber, 11);
        QCOMPARE(kept.elapsedSeconds, 95);
        QCOMPARE(kept.verdicts, QList<int>({1, 0, -1, -2}));
        QCOMPARE(kept.expected, "47,XY,+21");
        QCOMPARE(kept.written, "47,XY,+21");
        QVERIFY(kept.right());
        QCOMPARE(fileBytes(dir.filePath("Result/u/u.opt")),
                 QByteArray("ideogram=0\r\nkaryotypeChoices=1\r\n"));

        // Closed without an answer: kept as unanswered, every part missed.
        ModalAnswer skip(ModalAnswer::click("CloseButton"));
        askKaryotypeIfAbnormal(&parent, paths, "u", "abnormal", {11, {1}, 5});
        const AbnormalAttemptsFile::ReadResult again =
            AbnormalAttemptsFile::read(dir.filePath("Result/u/u.kry"));
        QCOMPARE(again.attempts.size(), 2u);
        QCOMPARE(again.attempts[1].written, QString());
        QVERIFY(!again.attempts[1].right());
    }
};

QTEST_MAIN(TestKaryotypeDialog)
#include "test_karyotype_dialog.moc"
