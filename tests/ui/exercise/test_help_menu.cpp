#include "ExerciseControls.h"
#include "ModalAnswer.h"
#include "TraineeFixture.h"
#include "core/app/AppPaths.h"
#include "core/board/SeededRandom.h"
#include "core/settings/LiveSettings.h"
#include "ui/app/HelpWindow.h"
#include "ui/exercise/TForm1.h"

#include <QAction>
#include <QDirIterator>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

using namespace queldo;
using namespace queldo::test;

namespace {

/// A program folder with the help laid out beside the program, as the run command does.
struct HelpFixture
{
    QTemporaryDir dir;
    std::unique_ptr<AppPaths> paths;
    SeededRandom random{5};
    QString userId = QStringLiteral("u");
    std::unique_ptr<TraineeSession> session;
    std::unique_ptr<TForm1> form;
    QList<QUrl> browserPages;
    bool browserStarts = false;

    ExerciseControls ui() const { return ExerciseControls(*form); }

    explicit HelpFixture(bool withHelp = true)
    {
        const QDir source(QStringLiteral(QUELDO_HELP_DIR));
        for (QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
             withHelp && it.hasNext();) {
            const QString from = it.next();
            const QString to = dir.filePath(source.relativeFilePath(from));
            QDir().mkpath(QFileInfo(to).path());
            QFile::copy(from, to);
        }
        QDir(dir.path()).mkpath(QStringLiteral("Images"));
        paths = std::make_unique<AppPaths>(dir.path(), dir.path());
        paths->enterImagesFolder();
        session = loggedInTrainee(*paths, userId);
        form = std::make_unique<TForm1>(*paths, random, *session);
        form->openInBrowser = [this](const QUrl &page) {
            browserPages << page;
            return browserStarts;
        };
    }
    QUrl helpPage() const { return QUrl::fromLocalFile(dir.filePath("QUELDOHelp.html")); }
};

/// The pictures the page in the browser shows, each as the browser loads it.
QList<QImage> picturesShown(QTextBrowser *browser)
{
    QList<QImage> pictures;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QVariant data = browser->loadResource(QTextDocument::ImageResource,
                                                        QUrl(format.toImageFormat().name()));
            pictures << (data.canConvert<QImage>() && data.typeId() == QMetaType::QImage
                             ? data.value<QImage>()
                             : QImage::fromData(data.toByteArray()));
        }
    }
    return pictures;
}

} // namespace

class TestHelpMenu : public QObject
{
    Q_OBJECT
private slots:
    void opensInTheDesktopsBrowser()
    {
        HelpFixture f;
        f.browserStarts = true;
        f.ui().Contents1->trigger();
        QCOMPARE(f.browserPages, QList<QUrl>{f.helpPage()});
        QVERIFY(!f.form->helpWindow());
    }

    void withoutBrowserTheProgramShowsItWithPicturesAndLinks()
    {
        HelpFixture f;
        f.ui().Contents1->trigger();
        QCOMPARE(f.browserPages.size(), 1);
        HelpWindow *help = f.form->helpWindow();
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowExposed(help));
        auto *browser = control<QTextBrowser>(*help, "HelpBrowser");
        QCOMPARE(browser->source(), f.helpPage());
        QCOMPARE(help->windowTitle(), QStringLiteral("QUELDO ヘルプ"));
        // Centred on the 800 x 800 offscreen screen when it first opens, never left of it; moved,
        // it stays where it was put.
        QCOMPARE(help->frameGeometry().topLeft(),
                 QPoint(0, (800 - help->frameGeometry().height()) / 2));
        help->move(help->pos() + QPoint(-30, -20));
        const QPoint moved = help->pos();
        QVERIFY(browser->toPlainText().contains(QStringLiteral("ログインとID作成")));
        const QList<QImage> exercise = picturesShown(browser);
        QCOMPARE(exercise.size(), 1);
        QVERIFY(!exercise.first().isNull());

        // A click on the link to the other page, and back.
        QTextCursor link = browser->document()->find(QStringLiteral("染色体の見分け方"));
        QVERIFY(!link.isNull());
        link.setPosition(link.selectionStart() + 1);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                          browser->cursorRect(link).center());
        QCOMPARE(browser->source(),
                 QUrl::fromLocalFile(f.dir.filePath("QUELDOHelp-chromosomes.html")));
        const QList<QImage> ideograms = picturesShown(browser);
        QCOMPARE(ideograms.size(), 24);
        for (const QImage &ideogram : ideograms)
            QVERIFY(!ideogram.isNull());
        QVERIFY(control<QPushButton>(*help, "HelpBack")->isEnabled());
        control<QPushButton>(*help, "HelpBack")->click();
        QCOMPARE(browser->source(), f.helpPage());

        // The menu again brings the same window back, on the first page.
        help->close();
        f.ui().Contents1->trigger();
        QCOMPARE(f.form->helpWindow(), help);
        QVERIFY(help->isVisible());
        QCOMPARE(help->pos(), moved);
    }

    void missingHelpNamesTheFile()
    {
        HelpFixture f(false);
        ModalAnswer answer(ModalAnswer::click("Button1"));
        f.ui().Contents1->trigger();
        QCOMPARE(answer.className, QStringLiteral("queldo::HelpMissingMessage"));
        QVERIFY2(answer.lines.join(u'\n').contains(
                     QDir::toNativeSeparators(f.dir.filePath("QUELDOHelp.html"))),
                 qPrintable(answer.lines.join(u'\n')));
        QVERIFY(f.browserPages.isEmpty());
        QVERIFY(!f.form->helpWindow());
    }
};

QTEST_MAIN(TestHelpMenu)
#include "test_help_menu.moc"
