#include "ui/app/DataFolderQuestion.h"

#include "core/app/DataFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace queldo {

namespace {

const QString Caption = QStringLiteral("データフォルダ");

enum class Answer { Home, Choose, Quit };

Answer askHowToChoose(const QString &homeFolder, const QString &problem)
{
    QMessageBox box(QMessageBox::Question, Caption,
                    problem + QStringLiteral("問題と成績を置くフォルダ (データフォルダ) を"
                                             "選んでください。"));
    box.setObjectName(QStringLiteral("DataFolderQuestion"));
    box.setInformativeText(
        QStringLiteral("教室の PC で成績を共有するときは、共有ドライブのフォルダを選びます。"
                       "選んだフォルダには見本の問題を置き、次からは聞きません。"));
    QPushButton *home =
        box.addButton(QStringLiteral("%1 を使う").arg(QDir::toNativeSeparators(homeFolder)),
                      QMessageBox::AcceptRole);
    home->setObjectName(QStringLiteral("HomeFolderButton"));
    QPushButton *choose =
        box.addButton(QStringLiteral("フォルダを選ぶ..."), QMessageBox::ActionRole);
    choose->setObjectName(QStringLiteral("ChooseFolderButton"));
    QPushButton *quit = box.addButton(QStringLiteral("終了"), QMessageBox::RejectRole);
    quit->setObjectName(QStringLiteral("QuitButton"));
    box.setDefaultButton(home);
    box.setEscapeButton(quit);
    box.exec();
    if (box.clickedButton() == home)
        return Answer::Home;
    if (box.clickedButton() == choose)
        return Answer::Choose;
    return Answer::Quit;
}

/// The folder to use, or why it cannot be used (ending in a blank for the question's text).
QString problemWith(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return QStringLiteral("%1 はフォルダではありません。")
            .arg(QDir::toNativeSeparators(folder));
    if (!info.isWritable())
        return QStringLiteral("フォルダ %1 には書き込めません。")
            .arg(QDir::toNativeSeparators(folder));
    return {};
}

std::optional<QString> askForDataFolder(const QString &unusable, const QString &homeFolder)
{
    QString problem = unusable.isEmpty() ? QString()
                                         : QStringLiteral("データフォルダ %1 が使えません。")
                                               .arg(QDir::toNativeSeparators(unusable));
    for (;;) {
        QString folder;
        switch (askHowToChoose(homeFolder, problem.isEmpty() ? problem : problem + '\n')) {
        case Answer::Quit:
            return std::nullopt;
        case Answer::Home:
            folder = homeFolder;
            QDir().mkpath(folder);
            break;
        case Answer::Choose:
            folder = QFileDialog::getExistingDirectory(nullptr, Caption, QDir::homePath());
            if (folder.isEmpty()) {
                problem.clear();
                continue;
            }
            break;
        }
        folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
        problem = problemWith(folder);
        if (problem.isEmpty())
            return folder;
    }
}

} // namespace

std::optional<FolderChoice> settleFolders(const FolderFacts &facts, QSettings &configuration,
                                          const QString &homeFolder)
{
    FolderChoice choice = chooseFolders(facts);
    if (choice.kind == FolderChoice::Kind::ProgramFolder)
        return choice;
    if (choice.kind == FolderChoice::Kind::AskForDataFolder) {
        const std::optional<QString> folder =
            askForDataFolder(choice.unusableDataFolder, homeFolder);
        if (!folder)
            return std::nullopt;
        choice = dataFolderChoice(facts, *folder);
    }
    const QString error = layOutDataFolder(choice.programFolder, choice.sampleProblems);
    if (!error.isEmpty()) {
        QMessageBox box(QMessageBox::Critical, Caption, error);
        box.setObjectName(QStringLiteral("DataFolderError"));
        box.exec();
        return std::nullopt;
    }
    // Remembered only once laid out, so that a folder that failed is asked for again.
    if (choice.kind == FolderChoice::Kind::DataFolder &&
        choice.programFolder != rememberedDataFolder(configuration))
        rememberDataFolder(configuration, choice.programFolder);
    return choice;
}

} // namespace queldo
