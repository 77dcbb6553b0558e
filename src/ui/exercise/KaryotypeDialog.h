#pragma once

#include "core/karyotype/KaryotypeQuestion.h"

#include <QDialog>
#include <QList>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace queldo {

/// Asks the karyotype of the abnormal cell whose arrangement was just scored, scores what the
/// trainee writes and shows why each wrong part is wrong. The karyotype is typed in ISCN, with
/// buttons for its symbols, or for beginners put together from lists. The first answer that
/// can be read is the one kept; closing without one leaves the question unanswered.
class KaryotypeDialog : public QDialog
{
    Q_OBJECT
public:
    /// verdicts: the arrangement's place verdicts, told in one line above the question.
    KaryotypeDialog(const KaryotypeQuestion &question, const QList<int> &verdicts, bool choicesMode,
                    QWidget *parent = nullptr);

    /// The answer given, or the question unanswered.
    KaryotypeAnswer answer() const;
    bool choicesMode() const;

    void AnswerButtonClick();

private:
    // Found by their object names from outside; answer() and choicesMode() are what callers
    // read.
    QLabel *ArrangementLabel = nullptr;
    QLineEdit *KaryotypeEdit = nullptr;
    QWidget *SymbolRow = nullptr;
    QCheckBox *ChoicesCheck = nullptr; // 選択肢で答える
    QWidget *ChoicesPanel = nullptr;
    QComboBox *CountChoice = nullptr;
    QComboBox *SexChoice = nullptr;
    QComboBox *KindChoice = nullptr;
    QComboBox *FirstChromosomeChoice = nullptr;
    QComboBox *SecondChromosomeChoice = nullptr;
    QComboBox *FirstBandChoice = nullptr;
    QComboBox *SecondBandChoice = nullptr;
    QLabel *ProblemLabel = nullptr;      // why the text cannot be scored
    QLabel *ResultLabel = nullptr;       // the verdict and the feedback
    QPushButton *AnswerButton = nullptr; // 答え合わせ
    QPushButton *CloseButton = nullptr;  // 答えずに閉じる, then 閉じる

    QWidget *makeSymbolRow();
    QWidget *makeChoicesPanel();
    void setChoicesMode(bool on);
    void choicesChanged();
    void refillBands();

    KaryotypeQuestion m_question;
    std::optional<KaryotypeAnswer> m_answer;
};

} // namespace queldo
