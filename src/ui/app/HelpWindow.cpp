#include "ui/app/HelpWindow.h"

#include "ui/app/HelpMissingMessage.h"
#include "ui/common/ScreenCentring.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace queldo {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("QUELDO ヘルプ"));
    // Closing the help never ends the program, even when it is the last window open.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(860, 720);

    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("HelpBrowser"));
    browser->setOpenExternalLinks(true);
    backButton = new QPushButton(QStringLiteral("戻る"), this);
    backButton->setObjectName(QStringLiteral("HelpBack"));
    forwardButton = new QPushButton(QStringLiteral("進む"), this);
    forwardButton->setObjectName(QStringLiteral("HelpForward"));
    homeButton = new QPushButton(QStringLiteral("目次"), this);
    homeButton->setObjectName(QStringLiteral("HelpHome"));
    backButton->setEnabled(false);
    forwardButton->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(backButton);
    buttons->addWidget(forwardButton);
    buttons->addWidget(homeButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser);

    connect(backButton, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(forwardButton, &QPushButton::clicked, browser, &QTextBrowser::forward);
    connect(homeButton, &QPushButton::clicked, browser, &QTextBrowser::home);
    connect(browser, &QTextBrowser::backwardAvailable, backButton, &QPushButton::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forwardButton, &QPushButton::setEnabled);
    connect(browser, &QTextBrowser::sourceChanged, this, [this] {
        if (const QString title = browser->documentTitle(); !title.isEmpty())
            setWindowTitle(title);
    });
}

void HelpWindow::showPage(const QUrl &page)
{
    if (browser->source() != page) {
        browser->clearHistory();
        browser->setSource(page);
    }
    show();
    raise();
    activateWindow();
}

void showProgramHelp(const QString &helpFolder,
                     const std::function<bool(const QUrl &)> &openInBrowser, HelpWindow *&window,
                     QWidget *parent)
{
    const QString help = QDir(helpFolder).absoluteFilePath(QStringLiteral("QUELDOHelp.html"));
    if (!QFileInfo::exists(help)) {
        HelpMissingMessage(help, parent).exec();
        return;
    }
    const QUrl page = QUrl::fromLocalFile(help);
    // A desktop without a browser still gets the help: the program shows it itself.
    if (openInBrowser(page))
        return;
    if (!window) {
        window = new HelpWindow(parent);
        // Centred when it first opens; after that it stays where the trainee put it, beside the
        // exercise.
        window->showPage(page);
        centreOnScreen(window);
        whenFramed(window, centreOnScreen);
        return;
    }
    window->showPage(page);
}

} // namespace queldo
