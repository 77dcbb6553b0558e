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

    HelpBrowser = new QTextBrowser(this);
    HelpBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    HelpBrowser->setOpenExternalLinks(true);
    HelpBack = new QPushButton(QStringLiteral("戻る"), this);
    HelpBack->setObjectName(QStringLiteral("HelpBack"));
    HelpForward = new QPushButton(QStringLiteral("進む"), this);
    HelpForward->setObjectName(QStringLiteral("HelpForward"));
    HelpHome = new QPushButton(QStringLiteral("目次"), this);
    HelpHome->setObjectName(QStringLiteral("HelpHome"));
    HelpBack->setEnabled(false);
    HelpForward->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(HelpBack);
    buttons->addWidget(HelpForward);
    buttons->addWidget(HelpHome);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(HelpBrowser);

    connect(HelpBack, &QPushButton::clicked, HelpBrowser, &QTextBrowser::backward);
    connect(HelpForward, &QPushButton::clicked, HelpBrowser, &QTextBrowser::forward);
    connect(HelpHome, &QPushButton::clicked, HelpBrowser, &QTextBrowser::home);
    connect(HelpBrowser, &QTextBrowser::backwardAvailable, HelpBack, &QPushButton::setEnabled);
    connect(HelpBrowser, &QTextBrowser::forwardAvailable, HelpForward, &QPushButton::setEnabled);
    connect(HelpBrowser, &QTextBrowser::sourceChanged, this, [this] {
        if (const QString title = HelpBrowser->documentTitle(); !title.isEmpty())
            setWindowTitle(title);
    });
}

void HelpWindow::showPage(const QUrl &page)
{
    if (HelpBrowser->source() != page) {
        HelpBrowser->clearHistory();
        HelpBrowser->setSource(page);
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
