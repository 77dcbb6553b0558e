#include "ui/exercise/KaryotypeDialog.h"

#include "core/board/ChromosomeId.h"
#include "core/karyotype/KaryotypeChoices.h"
#include "ui/common/DialogLook.h"
#include "ui/common/ScreenCentring.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace queldo {

namespace {

// What ISCN is written with, beyond digits: a click puts it where the cursor is.
const QStringList Symbols = {QStringLiteral(","),   QStringLiteral("+"),   QStringLiteral("-"),
                             QStringLiteral("("),   QStringLiteral(")"),   QStringLiteral(";"),
                             QStringLiteral("p"),   QStringLiteral("q"),   QStringLiteral("."),
                             QStringLiteral("X"),   QStringLiteral("Y"),   QStringLiteral("del"),
                             QStringLiteral("dup"), QStringLiteral("inv"), QStringLiteral("t"),
                             QStringLiteral("rob"), QStringLiteral("i")};

QComboBox *makeChoice(QWidget *parent, const char *name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// Out of the cell's chromosomes, as the 採点 button counts them: the places left rightly empty
// (the spare ones among them) are no chromosomes to find.
QString arrangementText(const QList<int> &verdicts, int chromosomes)
{
    const auto right = std::count(verdicts.begin(), verdicts.end(), 1);
    return QStringLiteral("配置の採点: 正解 %1 / %2 本。続いて、この細胞の核型を ISCN "
                          "で書いてください。")
        .arg(right)
        .arg(chromosomes);
}

} // namespace

KaryotypeDialog::KaryotypeDialog(const KaryotypeQuestion &question, const QList<int> &verdicts,
                                 bool choicesMode, QWidget *parent)
    : QDialog(parent), m_question(question)
{
    setObjectName(QStringLiteral("KaryotypeDialog"));
    setWindowTitle(QStringLiteral("核型"));
    setWindowFlags(FixedDialogFrame);
    setFontPixelSize(this, 12);

    ArrangementLabel = new QLabel(arrangementText(verdicts, question.expected().count), this);
    ArrangementLabel->setObjectName(QStringLiteral("ArrangementLabel"));
    ArrangementLabel->setWordWrap(true);

    KaryotypeEdit = new QLineEdit(this);
    KaryotypeEdit->setObjectName(QStringLiteral("KaryotypeEdit"));
    KaryotypeEdit->setPlaceholderText(QStringLiteral("例: 47,XY,+21"));
    KaryotypeEdit->setMaxLength(200);
    // The dialog keeps its width whichever way the karyotype is answered.
    KaryotypeEdit->setMinimumWidth(540);
    setFontPixelSize(KaryotypeEdit, 16);

    SymbolRow = makeSymbolRow();
    ChoicesCheck = new QCheckBox(QStringLiteral("選択肢で答える (初心者向け)"), this);
    ChoicesCheck->setObjectName(QStringLiteral("ChoicesCheck"));
    ChoicesPanel = makeChoicesPanel();

    ProblemLabel = new QLabel(this);
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProblemLabel->setTextFormat(Qt::PlainText);
    ProblemLabel->setWordWrap(true);
    ProblemLabel->setStyleSheet(QStringLiteral("color: #C00000"));
    ProblemLabel->hide();

    ResultLabel = new QLabel(this);
    ResultLabel->setObjectName(QStringLiteral("ResultLabel"));
    ResultLabel->setTextFormat(Qt::PlainText);
    ResultLabel->setWordWrap(true);
    setFontPixelSize(ResultLabel, 14);
    ResultLabel->hide();

    AnswerButton = new QPushButton(QStringLiteral("答え合わせ"), this);
    AnswerButton->setObjectName(QStringLiteral("AnswerButton"));
    AnswerButton->setDefault(true);
    connect(AnswerButton, &QPushButton::clicked, this, &KaryotypeDialog::AnswerButtonClick);
    CloseButton = new QPushButton(QStringLiteral("答えずに閉じる"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(AnswerButton);
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ArrangementLabel);
    layout->addWidget(KaryotypeEdit);
    layout->addWidget(SymbolRow);
    layout->addWidget(ChoicesCheck);
    layout->addWidget(ChoicesPanel);
    layout->addWidget(ProblemLabel);
    layout->addWidget(ResultLabel);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ChoicesCheck, &QCheckBox::toggled, this, &KaryotypeDialog::setChoicesMode);
    connect(KaryotypeEdit, &QLineEdit::textEdited, ProblemLabel, &QLabel::hide);
    ChoicesCheck->setChecked(choicesMode);
    setChoicesMode(choicesMode);
    centreOnEveryShow(this);
}

QWidget *KaryotypeDialog::makeSymbolRow()
{
    auto *row = new QWidget(this);
    row->setObjectName(QStringLiteral("SymbolRow"));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (const QString &symbol : Symbols) {
        auto *button = new QPushButton(symbol, row);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(std::max(24, button->fontMetrics().horizontalAdvance(symbol) + 12),
                             24);
        connect(button, &QPushButton::clicked, this, [this, symbol] {
            KaryotypeEdit->insert(symbol);
            ProblemLabel->hide();
        });
        layout->addWidget(button);
    }
    layout->addStretch();
    return row;
}

QWidget *KaryotypeDialog::makeChoicesPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("ChoicesPanel"));
    CountChoice = makeChoice(panel, "CountChoice");
    for (int count : KaryotypeChoiceLists::counts())
        CountChoice->addItem(QString::number(count), count);
    CountChoice->setCurrentIndex(1);
    SexChoice = makeChoice(panel, "SexChoice");
    SexChoice->addItems(KaryotypeChoiceLists::sexChromosomes());
    SexChoice->setCurrentIndex(1);
    KindChoice = makeChoice(panel, "KindChoice");
    KindChoice->addItem(QStringLiteral("なし"), -1);
    for (AbnormalityKind kind : KaryotypeChoiceLists::kinds())
        KindChoice->addItem(KaryotypeChoiceLists::kindLabel(kind), int(kind));
    FirstChromosomeChoice = makeChoice(panel, "FirstChromosomeChoice");
    SecondChromosomeChoice = makeChoice(panel, "SecondChromosomeChoice");
    for (int chromosome = 0; chromosome < ChromosomeId::Count; ++chromosome) {
        FirstChromosomeChoice->addItem(ChromosomeId::name(chromosome), chromosome);
        SecondChromosomeChoice->addItem(ChromosomeId::name(chromosome), chromosome);
    }
    FirstBandChoice = makeChoice(panel, "FirstBandChoice");
    SecondBandChoice = makeChoice(panel, "SecondBandChoice");

    // Two lines as the karyotype reads: count, sex chromosomes and kind, then where.
    auto *lines = new QVBoxLayout(panel);
    lines->setContentsMargins(0, 0, 0, 0);
    const QList<QList<std::pair<QString, QComboBox *>>> rows = {
        {{QStringLiteral("染色体数"), CountChoice},
         {QStringLiteral("性染色体"), SexChoice},
         {QStringLiteral("異常"), KindChoice}},
        {{QStringLiteral("染色体"), FirstChromosomeChoice},
         {QStringLiteral("切断点"), FirstBandChoice},
         {QStringLiteral("染色体 2"), SecondChromosomeChoice},
         {QStringLiteral("切断点 2"), SecondBandChoice}}};
    for (const auto &row : rows) {
        auto *line = new QHBoxLayout;
        for (const auto &[heading, box] : row) {
            line->addWidget(new QLabel(heading, panel));
            line->addWidget(box);
            line->addSpacing(8);
            box->setMinimumContentsLength(box == KindChoice ? 12 : 4);
            box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            connect(box, &QComboBox::currentIndexChanged, this, [this, box = box] {
                if (box == KindChoice || box == FirstChromosomeChoice ||
                    box == SecondChromosomeChoice)
                    refillBands();
                choicesChanged();
            });
        }
        line->addStretch();
        lines->addLayout(line);
    }
    refillBands();
    return panel;
}

void KaryotypeDialog::refillBands()
{
    const int kindData = KindChoice->currentData().toInt();
    const auto kind = AbnormalityKind(std::max(0, kindData));
    const int bands = kindData < 0 ? 0 : KaryotypeChoiceLists::bandsAsked(kind);
    const bool two = kindData >= 0 && KaryotypeChoiceLists::chromosomesAsked(kind) == 2;
    FirstChromosomeChoice->setEnabled(kindData >= 0);
    SecondChromosomeChoice->setEnabled(two);
    const auto fill = [](QComboBox *box, const QStringList &names, bool optional) {
        const QSignalBlocker quiet(box);
        const QString kept = box->currentText();
        box->clear();
        if (optional)
            box->addItem(QString());
        box->addItems(names);
        box->setCurrentIndex(std::max(0, box->findText(kept)));
        box->setEnabled(!names.isEmpty());
    };
    const QStringList firstBands =
        bands > 0 ? KaryotypeChoiceLists::bands(FirstChromosomeChoice->currentData().toInt(), kind)
                  : QStringList();
    // A translocation's second break lies on the second chromosome; an interstitial change's
    // on the same one, and a terminal one has none.
    const int secondChromosome = two ? SecondChromosomeChoice->currentData().toInt()
                                     : FirstChromosomeChoice->currentData().toInt();
    const QStringList secondBands =
        bands > 1 ? KaryotypeChoiceLists::bands(secondChromosome, kind) : QStringList();
    fill(FirstBandChoice, firstBands, false);
    fill(SecondBandChoice, secondBands, kind != AbnormalityKind::Translocation);
}

void KaryotypeDialog::choicesChanged()
{
    if (!ChoicesCheck->isChecked())
        return;
    KaryotypeChoices choices;
    choices.count = CountChoice->currentData().toInt();
    choices.sexChromosomes = SexChoice->currentText();
    if (const int kind = KindChoice->currentData().toInt(); kind >= 0)
        choices.kind = AbnormalityKind(kind);
    choices.firstChromosome = FirstChromosomeChoice->currentData().toInt();
    choices.secondChromosome = SecondChromosomeChoice->currentData().toInt();
    choices.firstBand = FirstBandChoice->isEnabled() ? FirstBandChoice->currentText() : QString();
    choices.secondBand =
        SecondBandChoice->isEnabled() ? SecondBandChoice->currentText() : QString();
    KaryotypeEdit->setText(choices.text());
    ProblemLabel->hide();
}

void KaryotypeDialog::setChoicesMode(bool on)
{
    ChoicesPanel->setVisible(on);
    SymbolRow->setVisible(!on);
    // The lists write the text; typing over it would leave the two disagreeing.
    KaryotypeEdit->setReadOnly(on || m_answer.has_value());
    if (on)
        choicesChanged();
}

bool KaryotypeDialog::choicesMode() const
{
    return ChoicesCheck->isChecked();
}

KaryotypeAnswer KaryotypeDialog::answer() const
{
    return m_answer.value_or(m_question.unanswered());
}

void KaryotypeDialog::AnswerButtonClick()
{
    if (m_answer) {
        accept();
        return;
    }
    const QString written = KaryotypeEdit->text();
    if (const QString problem = m_question.problemWith(written); !problem.isEmpty()) {
        ProblemLabel->setText(problem);
        ProblemLabel->show();
        KaryotypeEdit->setFocus();
        return;
    }
    m_answer = m_question.answer(written);
    ProblemLabel->hide();
    const QStringList summary = m_answer->summary();
    ResultLabel->setText(summary.join(u'\n'));
    ResultLabel->setStyleSheet(m_answer->score.right() ? QStringLiteral("color: #006000")
                                                       : QStringLiteral("color: #A00000"));
    ResultLabel->show();
    KaryotypeEdit->setReadOnly(true);
    SymbolRow->setEnabled(false);
    ChoicesPanel->setEnabled(false);
    ChoicesCheck->setEnabled(false);
    // The answer is kept; what is left is to read the feedback and close.
    AnswerButton->setText(QStringLiteral("閉じる"));
    CloseButton->hide();
}

} // namespace queldo
