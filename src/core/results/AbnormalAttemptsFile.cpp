#include "core/results/AbnormalAttemptsFile.h"

#include "core/board/ProblemFolder.h"
#include "core/karyotype/BandNames.h"
#include "core/karyotype/KaryotypeReader.h"
#include "core/text/AtomicWrite.h"
#include "core/text/Cp932Text.h"
#include "core/text/InPlaceAppend.h"
#include "core/text/RegularFile.h"
#include "core/text/WriteLock.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>

namespace queldo {

namespace {

const QString Magic = QStringLiteral("QUELDO-KRY");
constexpr int Version = 1;
constexpr int FieldCount = 7;
// A board has 46 places and room for a few more; a line with far more is not one of ours.
constexpr int MostVerdicts = 96;
// A karyotype of one cell has a handful of parts; the bound keeps a hostile line small.
constexpr int MostParts = 32;

QString header()
{
    return QStringList{Magic,
                       QString::number(Version),
                       QStringLiteral("日時"),
                       QStringLiteral("問題"),
                       QStringLiteral("秒"),
                       QStringLiteral("配置"),
                       QStringLiteral("核型"),
                       QStringLiteral("回答"),
                       QStringLiteral("部分点")}
        .join(u'\t');
}

QByteArray headerBytes()
{
    return header().toUtf8() + "\r\n";
}

// Tabs and line ends would split the line; other control characters have no place in a
// karyotype either.
QString oneField(const QString &text)
{
    QString field = text;
    for (QChar &c : field)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return field;
}

QString creditText(double credit)
{
    return QString::number(credit, 'g', 4);
}

std::optional<int> number(const QString &text, int low, int high)
{
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<AbnormalAttempt> attemptFromLine(const QString &line)
{
    const QStringList fields = line.split(u'\t');
    if (fields.size() != FieldCount)
        return std::nullopt;
    AbnormalAttempt attempt;
    static const QRegularExpression dateTime(
        QStringLiteral("^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$"));
    if (!dateTime.match(fields[0]).hasMatch())
        return std::nullopt;
    attempt.dateTime = fields[0];
    const auto problem = number(fields[1], 1, 999999999);
    const auto seconds = number(fields[2], 0, 999999999);
    if (!problem || !seconds)
        return std::nullopt;
    attempt.problemNumber = *problem;
    attempt.elapsedSeconds = *seconds;
    // An empty field is an empty list, as lineText() writes one.
    const QStringList verdicts = fields[3].split(u',', Qt::SkipEmptyParts);
    if (verdicts.size() > MostVerdicts)
        return std::nullopt;
    for (const QString &verdict : verdicts) {
        // 2: a place rightly left empty (a class the cell has only one of, an unused spare).
        const auto code = number(verdict, -2, 2);
        if (!code)
            return std::nullopt;
        attempt.verdicts << *code;
    }
    // The cell's karyotype must be one this program reads: the statistics take it apart.
    if (!readKaryotype(fields[4], BandNames::embedded()).ok())
        return std::nullopt;
    attempt.expected = fields[4];
    attempt.written = fields[5];
    const QStringList parts = fields[6].split(u'|', Qt::SkipEmptyParts);
    if (parts.size() > MostParts)
        return std::nullopt;
    for (const QString &part : parts) {
        const qsizetype equals = part.lastIndexOf(u'=');
        if (equals <= 0)
            return std::nullopt;
        bool ok = false;
        const double credit = part.mid(equals + 1).toDouble(&ok);
        if (!ok || !std::isfinite(credit) || credit < 0.0 || credit > 1.0)
            return std::nullopt;
        attempt.parts << KaryotypePart{part.left(equals), credit, {}};
    }
    return attempt;
}

QString unwritable(const QString &detail)
{
    return QStringLiteral("異常核型の記録を残せませんでした。\n") + detail;
}

QString unreadable(const QString &detail)
{
    return QStringLiteral("異常核型の記録を読めません。\n") + detail;
}

} // namespace

bool AbnormalAttempt::right() const
{
    return !written.isEmpty() && !parts.isEmpty() &&
           std::all_of(parts.begin(), parts.end(),
                       [](const KaryotypePart &part) { return part.credit == 1.0; });
}

bool AbnormalAttempt::operator==(const AbnormalAttempt &other) const
{
    const auto sameParts = [](const QList<KaryotypePart> &a, const QList<KaryotypePart> &b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const KaryotypePart &x, const KaryotypePart &y) {
                              return x.label == y.label && x.credit == y.credit;
                          });
    };
    return dateTime == other.dateTime && problemNumber == other.problemNumber &&
           elapsedSeconds == other.elapsedSeconds && verdicts == other.verdicts &&
           expected == other.expected && written == other.written && sameParts(parts, other.parts);
}

namespace AbnormalAttemptsFile {

QString lineText(const AbnormalAttempt &attempt)
{
    QStringList verdicts;
    for (int code : attempt.verdicts)
        verdicts << QString::number(code);
    QStringList parts;
    for (const KaryotypePart &part : attempt.parts)
        parts << oneField(part.label).remove(u'|') + u'=' + creditText(part.credit);
    return QStringList{oneField(attempt.dateTime),
                       problemNumberText(attempt.problemNumber),
                       QString::number(attempt.elapsedSeconds),
                       verdicts.join(u','),
                       oneField(attempt.expected),
                       oneField(attempt.written),
                       parts.join(u'|')}
        .join(u'\t');
}

QString append(const QString &path, const AbnormalAttempt &attempt, QString *rejectedNote)
{
    const WriteLock lock(path);
    if (!lock.ok())
        return unwritable(lock.error());
    // What a crash left of an earlier append goes first; it was never reported as saved.
    if (const QString undone = undoUnfinishedAppend(path, rejectedNote); !undone.isEmpty())
        return unwritable(undone);
    const QByteArray line = lineText(attempt).toUtf8() + "\r\n";

    FileEnd end;
    if (QFileInfo::exists(path)) {
        end = readRegularFileEnd(path, 1);
        if (!end.ok())
            return unwritable(end.error);
        if (end.size > MaximumTextFileBytes)
            return unwritable(QStringLiteral("ファイル %1 が大きすぎます。").arg(path));
    }
    if (end.size > 0) {
        const bool ended = end.last.endsWith('\n') || end.last.endsWith('\r');
        const InPlaceAppendResult appended =
            appendInPlace(path, end.size, (ended ? QByteArray() : QByteArray("\r\n")) + line);
        if (appended.ok())
            return {};
        if (!appended.rewriteInstead)
            return unwritable(appended.error);
    }

    // A new file, or one that could not be appended to where it lies: written whole.
    QByteArray bytes = headerBytes();
    if (end.size > 0) {
        const FileBytes file = readRegularFile(path, MaximumTextFileBytes);
        if (!file.ok())
            return unwritable(file.error);
        bytes = file.bytes;
        if (!bytes.endsWith('\n') && !bytes.endsWith('\r'))
            bytes += "\r\n";
    }
    const QString error = writeFileAtomically(path, bytes + line);
    return error.isEmpty() ? QString() : unwritable(error);
}

QString reset(const QString &path)
{
    // A trainee who never met an abnormal cell has no file, and erasing makes none.
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink())
        return {};
    const WriteLock lock(path);
    QString error = lock.ok() ? undoUnfinishedAppend(path) : lock.error();
    if (error.isEmpty())
        error = writeFileAtomically(path, headerBytes());
    return error.isEmpty() ? QString()
                           : QStringLiteral("異常核型の記録を消去できませんでした。\n") + error;
}

ReadResult parse(QByteArrayView bytes)
{
    ReadResult result;
    if (bytes.size() > MaximumTextFileBytes) {
        result.error = unreadable(QStringLiteral("ファイルが大きすぎます。"));
        return result;
    }
    qsizetype lineNumber = 0;
    try {
        forEachLine(bytes, [&](QByteArrayView raw) {
            ++lineNumber;
            if (!result.error.isEmpty())
                return;
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString line = utf8(raw);
            if (utf8.hasError()) {
                result.damagedLines.push_back(lineNumber);
                return;
            }
            if (lineNumber == 1) {
                const QStringList fields = line.split(u'\t');
                if (fields.value(0) != Magic) {
                    result.damagedLines.push_back(1);
                } else if (fields.value(1) != QString::number(Version)) {
                    // Lines of another version may mean other things: none is guessed at.
                    result.error =
                        unreadable(QStringLiteral("新しい版の QUELDO で書かれた記録です (版 %1)。")
                                       .arg(fields.value(1).left(16)));
                }
                return;
            }
            if (std::optional<AbnormalAttempt> attempt = attemptFromLine(line))
                result.attempts.push_back(std::move(*attempt));
            else
                result.damagedLines.push_back(lineNumber);
        });
    } catch (const std::bad_alloc &) {
        result = {};
        result.error = unreadable(QStringLiteral("ファイルが大きすぎます。"));
    }
    if (!result.error.isEmpty()) {
        result.attempts.clear();
        result.damagedLines.clear();
    }
    return result;
}

ReadResult read(const QString &path)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return {};
    FileBytes file = readRegularFile(path, MaximumTextFileBytes);
    if (!file.ok()) {
        ReadResult failed;
        failed.error = unreadable(file.error);
        return failed;
    }
    file.bytes.truncate(qsizetype(finishedLength(path, file.bytes.size())));
    return parse(file.bytes);
}

} // namespace AbnormalAttemptsFile

} // namespace queldo
