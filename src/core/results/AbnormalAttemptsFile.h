#pragma once

#include "core/karyotype/KaryotypeScore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <vector>

namespace queldo {

/// One attempt at an abnormal cell: the arrangement as scored and the karyotype the trainee
/// wrote, with the score of each of its parts.
struct AbnormalAttempt
{
    /// "yyyy/MM/dd HH:mm:ss", local time.
    QString dateTime;
    int problemNumber = 0;
    int elapsedSeconds = 0;
    /// The verdict of each place of the board, in place order: 1 right and upright, 0 wrong
    /// chromosome, -1 empty, -2 right chromosome turned too far.
    QList<int> verdicts;
    /// The cell's karyotype in ISCN.
    QString expected;
    /// As the trainee wrote it; empty when they gave no answer.
    QString written;
    /// Label and credit of each part; no feedback is kept.
    QList<KaryotypePart> parts;

    /// Every part right (an unanswered question never is).
    bool right() const;
    bool operator==(const AbnormalAttempt &) const;
};

/// The per-user file of abnormal attempts beside the results file, one line per attempt at an
/// abnormal cell. UTF-8 (a written karyotype may hold any character a trainee can type) with
/// CR LF, fields separated by tabs. The first line names the format and its version, so a later
/// program can tell an older file from its own:
///
///     QUELDO-KRY <tab> 1 <tab> 日時 <tab> 問題 <tab> 秒 <tab> 配置 <tab> 核型 <tab> 回答 <tab>
///     部分点
///
/// then one line per attempt: date and time, problem number ("%.3d"), seconds, the place
/// verdicts joined by commas, the cell's karyotype, the written karyotype (tabs and line ends
/// in it turned into blanks), and the parts as label=credit joined by '|'.
namespace AbnormalAttemptsFile {

/// The line of an attempt, without its line end.
QString lineText(const AbnormalAttempt &attempt);

/// Appends one line in place, under the trainee's write lock, as the results are appended; a
/// missing or empty file is started with its header. Empty on success, otherwise why not.
/// *rejectedNote, when given, says so when a note beside the file that did not belong to it was
/// moved aside.
QString append(const QString &path, const AbnormalAttempt &attempt,
               QString *rejectedNote = nullptr);
/// Writes the header alone: erasing all grades erases these attempts too. A missing file is
/// left missing.
QString reset(const QString &path);

struct ReadResult
{
    std::vector<AbnormalAttempt> attempts;
    /// Lines (the header is line 1) that were left out: a lost header, bytes that are not
    /// UTF-8, a wrong field count or a field out of its range.
    std::vector<qsizetype> damagedLines;
    /// The file could not be read at all (missing, too large, or written by a later version).
    QString error;
    bool ok() const { return error.isEmpty(); }
};

/// Reads every line after the header; a plain function of bytes.
ReadResult parse(QByteArrayView bytes);
/// Reads the file; what an interrupted append had begun to write is left out. A missing file
/// holds no attempts and is no error: most trainees have none.
ReadResult read(const QString &path);

} // namespace AbnormalAttemptsFile

} // namespace queldo
