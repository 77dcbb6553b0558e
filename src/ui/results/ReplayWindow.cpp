#include "ui/results/ReplayWindow.h"

#include "core/app/ScreenPlacement.h"
#include "core/app/TraineeSession.h"
#include "core/board/ProblemFolder.h"
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

namespace {

// Below this the places are too small to tell one chromosome from another.
constexpr QSize SmallestKaryogram{320, 120};

} // namespace

ReplayWindow::ReplayWindow(const QDir &imagesFolder, QWidget *parent)
    : QDialog(parent), m_imagesFolder(imagesFolder)
{
    setObjectName(QStringLiteral("ReplayWindow"));
    setWindowTitle(QStringLiteral("再現"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    Heading = new QLabel(this);
    Heading->setObjectName(QStringLiteral("Heading"));
    AnswerArea = new QWidget(this);
    AnswerArea->setObjectName(QStringLiteral("AnswerArea"));
    Attempt = new BoardView(m_imagesFolder, this);
    Attempt->setObjectName(QStringLiteral("Attempt"));
    for (QWidget *karyogram : {AnswerArea, static_cast<QWidget *>(Attempt)}) {
        karyogram->setMinimumSize(SmallestKaryogram);
        karyogram->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Heading);
    layout->addWidget(AnswerArea, 1);
    layout->addWidget(Attempt, 1);
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
    if (m_answer && isAncestorOf(m_answer)) {
        m_answer->close();
        m_answer->setParent(nullptr);
    }
    m_answer = nullptr;
    m_problem = {};
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
    if (!m_session)
        return QStringLiteral("ログインしていないため、再現できません。");
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
    karyogram = karyogram.expandedTo(SmallestKaryogram);

    m_problem = std::move(loaded.problem);
    m_places = line.places;
    m_answer = &answer;
    // Each karyogram takes exactly the size asked for; the trainee may then make the window
    // smaller or larger, and both follow it.
    AnswerArea->resize(karyogram);
    Attempt->resize(karyogram);
    drawKaryograms();
    layout()->activate();
    resize(karyogram.width() + margins.left() + margins.right(),
           2 * karyogram.height() + extra - std::max(frame.top() + frame.bottom(), 32));
    return {};
}

void ReplayWindow::drawKaryograms()
{
    if (!m_answer || m_problem.name.isEmpty() || !m_session)
        return;
    const QSize karyogram = Attempt->size();
    if (karyogram == m_drawnAt && AnswerArea->size() == m_answerDrawnAt)
        return;
    m_drawnAt = karyogram;
    m_answerDrawnAt = AnswerArea->size();
    Attempt->applyLayout(karyogramLayout(karyogram));
    // The scale the exercise would draw this problem at now, on a karyogram of this size.
    const LiveSettings &settings = m_session->settings();
    const float scale =
        computeScale(m_problem.SourceBitmap,
                     Attempt->scaleInputs(settings.trackBarPosition, settings.CustomScale))
            .EffectiveScale;
    m_answer->prepare(AnswerArea->size(), m_problem.SourceBitmap, scale,
                      IsFemaleProblem(m_problem.name));
    m_answer->showOver(AnswerArea);
    Attempt->showArrangement(m_problem, scale, m_places);
}

void ReplayWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    drawKaryograms();
}

} // namespace queldo
