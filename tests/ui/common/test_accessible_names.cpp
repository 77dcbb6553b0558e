#include "ExerciseFixture.h"

#include "ui/app/ProgramWindows.h"
#include "ui/app/TAboutBox.h"
#include "ui/app/TNewID.h"
#include "ui/app/TNewIDorNo.h"
#include "ui/app/TPasswordDlg.h"
#include "ui/common/AccessibleNames.h"
#include "ui/exercise/TForm16.h"
#include "ui/results/ConfusionWindow.h"
#include "ui/results/TForm10.h"
#include "ui/results/TForm8.h"
#include "ui/results/TOKBottomDlg.h"
#include "ui/settings/TPagesDlg.h"

#include <QtTest>

using namespace queldo;

namespace {

/// "class objectName: name" for every control a screen reader meets in window.
QStringList spokenNames(QWidget *window)
{
    QStringList names;
    for (QWidget *control : namedControls(window))
        names << QStringLiteral("%1 %2: %3")
                     .arg(QString::fromLatin1(control->metaObject()->className()),
                          control->objectName(), accessibleNameOf(control));
    return names;
}

QStringList unnamed(const QStringList &names)
{
    QStringList empty;
    for (const QString &name : names)
        if (name.endsWith(QStringLiteral(": ")))
            empty << name;
    return empty;
}

} // namespace

class TestAccessibleNames : public QObject
{
    Q_OBJECT
private slots:
    void everyControlOfTheExerciseWindowIsNamed()
    {
        test::ExerciseFixture fixture;
        const QStringList names = spokenNames(fixture.form.get());
        QVERIFY2(unnamed(names).isEmpty(), qPrintable(unnamed(names).join('\n')));
        // The buttons by their captions, the problem list by what it is for.
        QVERIFY2(names.contains("queldo::WrappingButton Button2: 次の問題"),
                 qPrintable(names.join('\n')));
        QVERIFY(names.contains("QListWidget ListBox3: 問題番号"));
    }

    void everyOtherWindowIsNamed()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Images");
        QDir(dir.path()).mkpath("Result");
        ProgramWindows windows(dir.path(), dir.path(), 7);
        const QList<QWidget *> all{&windows.login(),      &windows.about(),
                                   &windows.pages(),      &windows.analysis(),
                                   &windows.confusions(), &windows.question(),
                                   &windows.newId(),      &windows.eraseConfirmation(),
                                   &windows.eraseDone(),  &windows.AnswerWindow()};
        QStringList names;
        for (QWidget *window : all)
            names << spokenNames(window);
        QVERIFY2(unnamed(names).isEmpty(), qPrintable(unnamed(names).join('\n')));
        for (const char *expected :
             {"QLineEdit Password: パスワードの入力", "QSlider TrackBar1: 倍率",
              "QLineEdit rePassword: 確認のため新規パスワードの再入力",
              "QTreeView AttemptList: 試行の一覧"})
            QVERIFY2(names.contains(expected), expected);
    }
};

QTEST_MAIN(TestAccessibleNames)
#include "test_accessible_names.moc"
