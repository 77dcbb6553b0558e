#include "ui/exercise/KaryotypeQuestionStep.h"

#include "core/app/AppPaths.h"
#include "core/app/UserFiles.h"
#include "core/board/AbnormalProblemLoader.h"
#include "core/exercise/AnswerViewOptions.h"
#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeQuestion.h"
#include "core/karyotype/ProblemKaryotype.h"
#include "core/results/AbnormalAttemptsFile.h"
#include "core/text/RegularFile.h"
#include "ui/exercise/KaryotypeDialog.h"

#include <QDir>
#include <QMessageBox>

namespace queldo {

namespace {

// A karyotype file is one karyotype and a few picture names.
constexpr qint64 MostKaryotypeFileBytes = 64 * 1024;

} // namespace

QString askKaryotype(QWidget *parent, const UserFiles &files, const Karyotype &expected,
                     const ScoredArrangement &scored, const QDateTime &now)
{
    const QString optionsPath = files.relative(UserFile::AnswerOptions);
    const bool choices = AnswerViewOptionsFile::read(optionsPath).options.karyotypeChoices;
    KaryotypeDialog dialog(KaryotypeQuestion(expected), scored.verdicts, choices, parent);
    dialog.exec();

    QStringList errors;
    if (dialog.choicesMode() != choices) {
        const QString error = AnswerViewOptionsFile::change(
            optionsPath, [on = dialog.choicesMode()](AnswerViewOptions &options) {
                options.karyotypeChoices = on;
            });
        if (!error.isEmpty())
            errors << QStringLiteral("答え方の設定を保存できませんでした。\n") + error;
    }

    const KaryotypeAnswer answer = dialog.answer();
    AbnormalAttempt attempt;
    attempt.dateTime = now.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    attempt.problemNumber = scored.problemNumber;
    attempt.elapsedSeconds = scored.elapsedSeconds;
    attempt.verdicts = scored.verdicts;
    attempt.expected = answer.expected;
    attempt.written = answer.written;
    attempt.parts = answer.score.parts;
    QString rejectedNote;
    const QString error = AbnormalAttemptsFile::append(files.relative(UserFile::AbnormalAttempts),
                                                       attempt, &rejectedNote);
    errors << rejectedNote << error;
    errors.removeAll(QString());
    return errors.join(u'\n');
}

void askKaryotypeIfAbnormal(QWidget *parent, const AppPaths &paths, const QString &userId,
                            const QString &problemFolder, const ScoredArrangement &scored)
{
    const QDir imagesFolder(paths.imagesFolder());
    if (problemFolder.isEmpty() || !isAbnormalProblem(imagesFolder, problemFolder))
        return;
    const FileBytes bytes = readRegularFile(
        imagesFolder.filePath(problemFolder + u'/' + karyotypeFileName()), MostKaryotypeFileBytes);
    const ProblemKaryotype read = bytes.ok()
                                      ? readProblemKaryotype(bytes.bytes, BandNames::embedded())
                                      : ProblemKaryotype{{}, {}, bytes.error};
    const QString error =
        read.ok() ? askKaryotype(parent, UserFiles(paths, userId), read.karyotype, scored)
                  : read.error;
    if (!error.isEmpty())
        QMessageBox::warning(parent, QStringLiteral("QUELDO"), error);
}

} // namespace queldo
