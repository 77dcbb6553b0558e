#pragma once

#include "Controls.h"
#include "ui/exercise/KaryotypeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace queldo::test {

/// The karyotype question's controls, found by the names the dialog gives them.
struct KaryotypeControls
{
    explicit KaryotypeControls(const KaryotypeDialog &dialog)
        : ArrangementLabel(control<QLabel>(dialog, "ArrangementLabel")),
          KaryotypeEdit(control<QLineEdit>(dialog, "KaryotypeEdit")),
          SymbolRow(control<QWidget>(dialog, "SymbolRow")),
          ChoicesCheck(control<QCheckBox>(dialog, "ChoicesCheck")),
          ChoicesPanel(control<QWidget>(dialog, "ChoicesPanel")),
          CountChoice(control<QComboBox>(dialog, "CountChoice")),
          KindChoice(control<QComboBox>(dialog, "KindChoice")),
          FirstChromosomeChoice(control<QComboBox>(dialog, "FirstChromosomeChoice")),
          SecondChromosomeChoice(control<QComboBox>(dialog, "SecondChromosomeChoice")),
          FirstBandChoice(control<QComboBox>(dialog, "FirstBandChoice")),
          SecondBandChoice(control<QComboBox>(dialog, "SecondBandChoice")),
          ProblemLabel(control<QLabel>(dialog, "ProblemLabel")),
          ResultLabel(control<QLabel>(dialog, "ResultLabel")),
          AnswerButton(control<QPushButton>(dialog, "AnswerButton"))
    {
    }

    QLabel *ArrangementLabel;
    QLineEdit *KaryotypeEdit;
    QWidget *SymbolRow;
    QCheckBox *ChoicesCheck; // 選択肢で答える
    QWidget *ChoicesPanel;
    QComboBox *CountChoice;
    QComboBox *KindChoice;
    QComboBox *FirstChromosomeChoice;
    QComboBox *SecondChromosomeChoice;
    QComboBox *FirstBandChoice;
    QComboBox *SecondBandChoice;
    QLabel *ProblemLabel;      // why the text cannot be scored
    QLabel *ResultLabel;       // the verdict and the feedback
    QPushButton *AnswerButton; // 答え合わせ
};

} // namespace queldo::test
