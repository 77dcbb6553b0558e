#pragma once

#include <QWidget>

#include <functional>

class QPushButton;
class QTextBrowser;
class QUrl;

namespace queldo {

/// The help read inside the program, for desktops where no browser can be started. Links
/// between the help's pages, their anchors and their pictures work as in a browser; links to
/// the web go to the desktop.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    /// Shows the page of the local file and brings the window up.
    void showPage(const QUrl &page);

private:
    // Found by their object names from outside.
    QTextBrowser *HelpBrowser = nullptr;
    QPushButton *HelpBack = nullptr;    // 戻る
    QPushButton *HelpForward = nullptr; // 進む
    QPushButton *HelpHome = nullptr;    // 目次
};

/// The trainees' help, from its folder (beside the program file, or where the package installs
/// it): in the desktop's browser, else in a help window of the program's own (made in window,
/// over parent, the first time); a message when the help is missing.
void showProgramHelp(const QString &helpFolder,
                     const std::function<bool(const QUrl &)> &openInBrowser, HelpWindow *&window,
                     QWidget *parent);

} // namespace queldo
