// Two programs on one program folder, the same trainee: the second is told who holds the ID and
// chooses; a program that had gone is taken over from.
#include "ExerciseControls.h"
#include "LoginFixture.h"
#include "ProblemFixture.h"
#include "SettingsControls.h"

#include "core/app/TraineeLock.h"
#include "core/app/TraineeSession.h"
#include "core/results/ResultsFile.h"
#include "ui/app/ProgramWindows.h"
#include "ui/exercise/TForm1.h"
#include "ui/settings/TPagesDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSysInfo>
#include <QtTest>

#include <unistd.h>

using namespace queldo;
using namespace queldo::test;

namespace {

// A session file as another program writes it, renewed `renewedAgo` seconds ago.
QByteArray heldBy(const QString &host, qint64 pid, qint64 renewedAgo)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime whole = QDateTime::fromSecsSinceEpoch(now.toSecsSinceEpoch(), Qt::UTC);
    return traineeLockBytes(
        {host, pid, whole.addSecs(-3600), whole.addSecs(-renewedAgo), "00000000000000aa"});
}

struct Folder
{
    QTemporaryDir dir;
    QString stem;

    explicit Folder(const QByteArray &session)
    {
        QDir root(dir.path());
        root.mkpath("Images");
        writeProblemFolder(root.filePath("Images"), knownProblemNames()[0]);
        root.mkpath("Result/Taro");
        stem = root.filePath("Result/Taro/Taro");
        write(".pas", "pw\r\n"); // stored the old way: a writable login stores it hashed
        write(".set", "0\r\n0\r\n0\r\n0.699999988079071\r\n");
        ResultsFile::create(stem + ".kek");
        if (!session.isNull())
            write(".session", session);
    }
    void write(const QString &extension, const QByteArray &bytes) const
    {
        QFile file(stem + extension);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray read(const QString &extension) const
    {
        QFile file(stem + extension);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

void logIn(ProgramWindows &windows)
{
    windows.start();
    const LoginControls loginUi(windows.login());
    loginUi.ID->setText("Taro");
    loginUi.Password->setText("pw");
    loginUi.OKBtn->click();
}

} // namespace

class TestTraineeInUse : public QObject
{
    Q_OBJECT
private slots:
    void secondProgramOpensReadOnly()
    {
        const Folder folder(heldBy("PC-30", 5, 30));
        const QByteArray session = folder.read(".session");
        ProgramWindows windows(folder.dir.path(), folder.dir.path(), 7);
        {
            ModalAnswer readOnly(ModalAnswer::click("ReadOnlyButton"));
            logIn(windows);
            QCOMPARE(readOnly.className, "queldo::IdInUseDialog");
            QVERIFY(readOnly.lines.join('\n').contains("ID「Taro」は、コンピュータ PC-30 で "));
        }
        QVERIFY(windows.exercise());
        TForm1 &form = *windows.exercise();
        const ExerciseControls ui(form);
        QCOMPARE(form.windowTitle(), "QUELDO（読み取り専用）");

        // Scoring judges the board and says why nothing is recorded.
        QTest::mouseClick(ui.Button2, Qt::LeftButton);
        QTest::mouseClick(ui.Button4, Qt::LeftButton);
        {
            ModalAnswer told(ModalAnswer::defaultButton());
            QTest::mouseClick(ui.Button1, Qt::LeftButton);
            QVERIFY(told.lines.join('\n').contains(
                "読み取り専用で開いているため、成績は記録されません。"));
        }
        QVERIFY(ui.Button1->text().startsWith("正答率："));
        QCOMPARE(ResultsFile::read(folder.stem + ".kek").records.size(), 0);

        // Settings hold for the run, and are not saved.
        SettingsControls(windows.pages()).Cheat->setChecked(true);
        {
            ModalAnswer told(ModalAnswer::defaultButton());
            windows.pages().OKBtnClick();
            QVERIFY(told.lines.join('\n').contains("保存されません"));
        }
        QVERIFY(windows.session()->settings().referenceMode);
        QCOMPARE(folder.read(".set"), QByteArray("0\r\n0\r\n0\r\n0.699999988079071\r\n"));
        QCOMPARE(folder.read(".pas"), QByteArray("pw\r\n"));
        QCOMPARE(folder.read(".session"), session);
    }

    void cancelLeavesTheLoginUp()
    {
        // The process that started this test runs on this computer.
        const Folder folder(heldBy(QSysInfo::machineHostName(), ::getppid(), 0));
        ProgramWindows windows(folder.dir.path(), folder.dir.path(), 7);
        {
            ModalAnswer cancel(ModalAnswer::click("CancelButton"));
            logIn(windows);
            QCOMPARE(cancel.className, "queldo::IdInUseDialog");
            QVERIFY(cancel.lines.join('\n').contains("このコンピュータの別の QUELDO で"));
        }
        QVERIFY(!windows.exercise());
        QVERIFY(windows.login().isVisible());
        QCOMPARE(LoginControls(windows.login()).ID->text(), "Taro");
    }

    void waitingTakesTheIdOnceLetGo()
    {
        const Folder folder(heldBy("PC-30", 5, 0));
        ProgramWindows windows(folder.dir.path(), folder.dir.path(), 7);
        QTimer::singleShot(500, [&folder] { QFile::remove(folder.stem + ".session"); });
        {
            ModalAnswer wait(ModalAnswer::click("WaitButton"));
            logIn(windows);
            QCOMPARE(wait.className, "queldo::IdInUseDialog");
        }
        QVERIFY(windows.exercise());
        QCOMPARE(windows.exercise()->windowTitle(), "QUELDO");
        QCOMPARE(parseTraineeLock(folder.read(".session"))->pid,
                 QCoreApplication::applicationPid());
        QVERIFY(folder.read(".pas").startsWith("$argon2"));
    }

    void programThatHadGoneIsTakenOver_data()
    {
        QTest::addColumn<QByteArray>("session");
        QTest::addColumn<QString>("told");
        // Our own process number under another tag: a program of this computer that ended.
        QTest::newRow("ended here")
            << heldBy(QSysInfo::machineHostName(), QCoreApplication::applicationPid(), 0)
            << "このコンピュータで";
        QTest::newRow("silent elsewhere") << heldBy("PC-30", 5, 601) << "から応答がありません。";
        QTest::newRow("damaged") << QByteArray("QUELDO session\r\n") << "壊れていたため";
    }
    void programThatHadGoneIsTakenOver()
    {
        QFETCH(QByteArray, session);
        QFETCH(QString, told);
        const Folder folder(session);
        {
            // Silent by the file system's date as well.
            QFile file(folder.stem + ".session");
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-601),
                                     QFileDevice::FileModificationTime));
        }
        {
            ProgramWindows windows(folder.dir.path(), folder.dir.path(), 7);
            ModalAnswer message(ModalAnswer::defaultButton());
            logIn(windows);
            QCOMPARE(message.className, "queldo::MessageWindow");
            QVERIFY2(message.lines.join('\n').contains(told), qPrintable(message.lines.join('\n')));
            QVERIFY(windows.exercise());
            QVERIFY(windows.session()->writable());
            QCOMPARE(parseTraineeLock(folder.read(".session"))->pid,
                     QCoreApplication::applicationPid());
        }
        QVERIFY(!QFile::exists(folder.stem + ".session")); // let go at the end of the run
    }
};

QTEST_MAIN(TestTraineeInUse)
#include "test_trainee_in_use.moc"
