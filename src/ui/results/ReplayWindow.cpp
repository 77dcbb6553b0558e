#include "ui/results/ReplayWindow.h"

#include "core/app/ScreenPlacement.h"
#include "core/board/ProblemFolder.h"
#include "core/board/ProblemLoader.h"
#include "core/results/Replay.h"
#include "core/settings/LiveSettings.h"
#include "ui/board/BoardView.h"
#include "ui/common/ScreenCentring.h"
#include "ui/exercise/TForm16.h"

#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace queldo {

ReplayWindow::ReplayWindow(const LiveSettings &settings, const QDir &imagesFolder, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_imagesFolder(imagesFolder)
{
    setObjectName(QStringLiteral("ReplayWindow"));
    setWindowTitle(QStringLiteral("再現"));
    Heading = new QLabel(this);
    Heading->setObjectName(QStringLiteral("Heading"));
    AnswerArea = new QWidget(this);
    AnswerArea->setObjectName(QStringLiteral("AnswerArea"));
    Attempt = new BoardView(m_settings, m_imagesFolder, this);
    Attempt->setObjectName(QStringLiteral("Attempt"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading);
    layout->addWidget(AnswerArea);
    layout->addWidget(Attempt);
    centreOnEveryShow(this);
}

ReplayWindow::~ReplayWindow()
{
    giveAnswerBack();
}

void ReplayWindow::giveAnswerBack()
{
    // The answer window belongs to the program, not to this window: it must never be deleted
    // with it.
    if (Answer && isAncestorOf(Answer)) {
        Answer->close();
        Answer->setParent(nullptr);
    }
    Answer = nullptr;
}

void ReplayWindow::done(int result)
{
    giveAnswerBack();
    QDialog::done(result);
    // The attempt's pictures and the window's own are made again at the next replay: nothing
    // of this one is held until then.
    Attempt->clearProblem();
    QTimer::singleShot(0, this, [this] {
        if (!isVisible())
            destroy();
    });
}

QString ReplayWindow::showAttempt(const ArrangementLine &line, const QString &problemName,
                                  QSize karyogram, TForm16 &answer)
{
    LoadProblemResult loaded = LoadProblem(m_imagesFolder, problemName);
    if (!loaded.ok())
        return loaded.error;

    Heading->setText(QStringLiteral("試行No %1  %2  問題 %3    上: 正解    下: この試行の配置")
                         .arg(line.recordNumber)
                         .arg(line.date, problemNumberText(line.problemNumber)));
    // Two karyograms the size of a maximised exercise window's do not fit one above the other
    // on a small screen: both shrink alike until the window fits, its caption bar included.
    Heading->adjustSize();
    const QMargins margins = layout()->contentsMargins();
    const QMargins frame = frameMargins(this);
    const int extra = margins.top() + margins.bottom() + 2 * layout()->spacing() +
                      Heading->sizeHint().height() + std::max(frame.top() + frame.bottom(), 32);
    if (const QScreen *screen = screenOf(this))
        karyogram = stackedToFit(karyogram, 2, extra, screen->availableGeometry().size());
    AnswerArea->setFixedSize(karyogram);
    Attempt->setFixedSize(karyogram);
    Attempt->applyLayout(karyogramLayout(karyogram));
    // The scale the exercise would draw this problem at now, on a karyogram of this size.
    const float scale =
        computeScale(loaded.problem.SourceBitmap,
                     Attempt->scaleInputs(m_settings.trackBarPosition, m_settings.CustomScale))
            .EffectiveScale;
    const bool female = IsFemaleProblem(problemName);
    Answer = &answer;
    Answer->prepare(AnswerArea->size(), loaded.problem.SourceBitmap, scale, female);
    Answer->showOver(AnswerArea);
    Attempt->showArrangement(std::move(loaded.problem), scale, line.places);
    adjustSize();
    return {};
}

} // namespace queldo
