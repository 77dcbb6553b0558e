#include "ModalAnswer.h"

#include "core/app/DataFolder.h"
#include "ui/app/DataFolderQuestion.h"

#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace queldo;
using test::ModalAnswer;

namespace {

/// An installed program in a temporary root: /usr/bin and the shared sample problems.
struct InstalledProgram
{
    QTemporaryDir root;
    QString configurationFile = root.filePath("config/QUELDO.conf");
    QString home = root.filePath("home/t/QUELDO");

    InstalledProgram()
    {
        QDir dir(root.path());
        dir.mkpath("usr/bin");
        dir.mkpath("usr/share/queldo/Images/正常1");
        QFile set(dir.filePath("usr/share/queldo/Images/正常1/正常1.set"));
        set.open(QIODevice::WriteOnly);
        set.write("check values");
    }

    FolderFacts facts(const QSettings &configuration) const
    {
        return FolderFacts::gather("", root.filePath("usr/bin"),
                                   rememberedDataFolder(configuration), root.filePath("home/t"));
    }
};

} // namespace

class TestDataFolderQuestion : public QObject
{
    Q_OBJECT
private slots:
    void firstStartAsksOnceAndLaysOutTheSamples()
    {
        InstalledProgram program;
        QSettings configuration(program.configurationFile, QSettings::IniFormat);
        ModalAnswer answer(ModalAnswer::click("HomeFolderButton"));
        std::optional<FolderChoice> choice =
            settleFolders(program.facts(configuration), configuration, program.home);
        QCOMPARE(answer.title, QString("データフォルダ"));
        QVERIFY(choice);
        QCOMPARE(choice->kind, FolderChoice::Kind::DataFolder);
        QCOMPARE(choice->programFolder, program.home);
        QCOMPARE(choice->startFolder, program.home);
        QCOMPARE(choice->helpFolder, program.root.filePath("usr/share/queldo"));
        QVERIFY(QFile::exists(program.home + "/Images/正常1/正常1.set"));
        QVERIFY(QFileInfo(program.home + "/Result").isDir());
        QCOMPARE(QSettings(program.configurationFile, QSettings::IniFormat)
                     .value("DataFolder")
                     .toString(),
                 program.home);

        // The next start goes straight there.
        auto unexpected = std::make_unique<ModalAnswer>(ModalAnswer::closeBox());
        choice = settleFolders(program.facts(configuration), configuration, program.home);
        QVERIFY(unexpected->className.isEmpty());
        unexpected.reset();
        QVERIFY(choice);
        QCOMPARE(choice->programFolder, program.home);
    }

    void folderChosenInTheDialog()
    {
        InstalledProgram program;
        QSettings configuration(program.configurationFile, QSettings::IniFormat);
        const QString share = program.root.filePath("share drive");
        QVERIFY(QDir().mkpath(share));
        std::unique_ptr<ModalAnswer> dialogAnswer;
        ModalAnswer answer([&](QWidget *modal) {
            dialogAnswer = std::make_unique<ModalAnswer>([&](QWidget *dialog) {
                auto *files = qobject_cast<QFileDialog *>(dialog);
                QVERIFY(files);
                files->setDirectory(share);
                QMetaObject::invokeMethod(files, "accept");
            });
            ModalAnswer::click("ChooseFolderButton")(modal);
        });
        const std::optional<FolderChoice> choice =
            settleFolders(program.facts(configuration), configuration, program.home);
        QVERIFY(dialogAnswer && dialogAnswer->className == "QFileDialog");
        QVERIFY(choice);
        QCOMPARE(choice->programFolder, share);
        QVERIFY(QFile::exists(share + "/Images/正常1/正常1.set"));
        QCOMPARE(rememberedDataFolder(configuration), share);
        QVERIFY(!QFileInfo::exists(program.home));
    }

    void unusableFolderIsNamedAndQuittingRemembersNothing()
    {
        InstalledProgram program;
        QSettings configuration(program.configurationFile, QSettings::IniFormat);
        const QString gone = program.root.filePath("unmounted drive");
        rememberDataFolder(configuration, gone);
        ModalAnswer answer(ModalAnswer::click("QuitButton"));
        const std::optional<FolderChoice> choice =
            settleFolders(program.facts(configuration), configuration, program.home);
        QVERIFY(!choice);
        QVERIFY2(answer.lines.join('\n').contains("データフォルダ " + gone + " が使えません。"),
                 qPrintable(answer.lines.join('\n')));
        QCOMPARE(rememberedDataFolder(configuration), gone);
        QVERIFY(!QFileInfo::exists(program.home));
    }

    void folderThatCannotBeLaidOutIsSaid()
    {
        InstalledProgram program;
        QSettings configuration(program.configurationFile, QSettings::IniFormat);
        // The home folder's place is taken by a file.
        QVERIFY(QDir().mkpath(QFileInfo(program.home).path()));
        QFile blocker(program.home);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        std::unique_ptr<ModalAnswer> second;
        ModalAnswer first([&](QWidget *modal) {
            second = std::make_unique<ModalAnswer>(ModalAnswer::click("QuitButton"));
            ModalAnswer::click("HomeFolderButton")(modal);
        });
        QVERIFY(!settleFolders(program.facts(configuration), configuration, program.home));
        // Asked again, with the reason.
        QVERIFY(second);
        QVERIFY2(second->lines.join('\n').contains(program.home + " はフォルダではありません。"),
                 qPrintable(second->lines.join('\n')));
        QCOMPARE(rememberedDataFolder(configuration), QString());
    }
};

QTEST_MAIN(TestDataFolderQuestion)
#include "test_data_folder_question.moc"
