// Prints where the named controls of the exercise window, the settings dialog, the grade analysis
// window and the answer window sit, so that the end-to-end test can click them in the real
// program. Qt's widgets are not X windows of their own, so nothing outside the process can find
// them; this lays out the same windows offscreen at the size the real window got and reports
// every named widget as "window name x y width height", relative to its window's top-left corner.
#include "core/app/AppPaths.h"
#include "core/app/TraineeLockFile.h"
#include "core/app/TraineeSession.h"
#include "core/board/SeededRandom.h"
#include "ui/common/PagePrinter.h"
#include "ui/exercise/TForm1.h"
#include "ui/exercise/TForm16.h"
#include "ui/results/ConfusionWindow.h"
#include "ui/results/TOKBottomDlg.h"
#include "ui/settings/TPagesDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

void report(QTextStream &out, const QString &windowName, QWidget *window)
{
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty() || !widget->isVisibleTo(window))
            continue;
        const QPoint at = widget->mapTo(window, QPoint(0, 0));
        const auto line = [&](const QString &name, const QRect &rect) {
            out << windowName << ' ' << name << ' ' << at.x() + rect.x() << ' ' << at.y() + rect.y()
                << ' ' << rect.width() << ' ' << rect.height() << '\n';
        };
        line(widget->objectName(), widget->rect());
        // Only part of these reacts to a click: a check box's indicator and text, a slider's
        // groove; the rest of the widget ignores it.
        if (auto *box = qobject_cast<QCheckBox *>(widget)) {
            QStyleOptionButton option;
            option.initFrom(box);
            line(widget->objectName() + QStringLiteral(".indicator"),
                 box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box));
        } else if (auto *slider = qobject_cast<QSlider *>(widget)) {
            // What QSlider::initStyleOption fills in, which is not public.
            QStyleOptionSlider option;
            option.initFrom(slider);
            option.orientation = slider->orientation();
            option.minimum = slider->minimum();
            option.maximum = slider->maximum();
            option.sliderPosition = slider->sliderPosition();
            option.sliderValue = slider->value();
            option.singleStep = slider->singleStep();
            option.pageStep = slider->pageStep();
            option.tickPosition = slider->tickPosition();
            option.tickInterval = slider->tickInterval();
            option.upsideDown = slider->invertedAppearance();
            if (slider->orientation() == Qt::Horizontal)
                option.state |= QStyle::State_Horizontal;
            line(widget->objectName() + QStringLiteral(".groove"),
                 slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                 QStyle::SC_SliderGroove, slider));
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT (the exercise window's size)\n", argv[0]);
        return 2;
    }
    const QSize size(QString::fromLocal8Bit(argv[1]).toInt(),
                     QString::fromLocal8Bit(argv[2]).toInt());
    if (size.isEmpty()) {
        std::fprintf(stderr, "not a window size: %s x %s\n", argv[1], argv[2]);
        return 2;
    }

    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Images"));
    queldo::AppPaths paths(dir.path(), dir.path());
    queldo::SeededRandom random(1);
    const QString userId;
    paths.enterImagesFolder();
    queldo::TraineeSession session(queldo::UserFiles(paths, userId), queldo::judgeForThisProgram());
    queldo::TPagesDlg pages(paths);
    pages.setSession(&session);
    queldo::TForm16 answer;
    queldo::TForm1 form(paths, random, session);
    form.setAnswerWindow(&answer);
    form.setWindowState(Qt::WindowNoState);
    form.resize(size);
    form.show();
    pages.show();
    queldo::PagePrinter printer(queldo::PagePrinter::Destination::PdfOnly);
    queldo::TOKBottomDlg analysis(printer);
    analysis.show();
    queldo::ConfusionWindow confusions(printer);
    confusions.show();
    QApplication::processEvents();

    QTextStream out(stdout);
    report(out, QStringLiteral("exercise"), &form);
    // Each page in turn: only the current page's controls are visible.
    auto *tabs = pages.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        report(out, QStringLiteral("settings"), &pages);
    }
    report(out, QStringLiteral("analysis"), &analysis);
    report(out, QStringLiteral("confusions"), &confusions);
    // The answer window where 正解表示 puts it, over the spread; its own controls are reported
    // under "answer", in the exercise window's coordinates.
    form.showAnswerWindow();
    QApplication::processEvents();
    report(out, QStringLiteral("answer"), &form);
    return 0;
}
