#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace queldo {

/// The fixed first line of every results file (it begins with a blank).
extern const QString ResultsHeader;

/// One scored attempt as read back: the fields of its line.
struct TrialRecord
{
    QStringList fields; ///< 50 for a well-formed line
};

/// What reading a results file gave.
struct ResultsReadResult
{
    std::vector<TrialRecord> records; ///< every line after the header, in file order
    QString error;                    ///< empty on success
    bool ok() const { return error.isEmpty(); }
};

/// The per-user results file. Every operation reads or writes the whole file afresh.
namespace ResultsFile {

/// Joins fields by the writer's rule: a field holding a blank, a control character, a comma or a
/// double quote is quoted, with inner quotes doubled.
QString joinFields(const QStringList &fields);
/// Splits a record line by the reader's rule: an unquoted blank separates fields like a comma.
QStringList splitFields(const QString &line);

/// Writes the header alone (a new ID, or erasing all grades). Empty string on success.
QString create(const QString &path);
/// Appends one record: field 0 is the number of records before it, then today's date text, the
/// problem number ("%.3d"), the 46 codes and the seconds. A missing file is recreated with its
/// header first, so the attempt is kept. Empty string on success; on failure the file is as it was.
QString append(const QString &path, const QString &todayText, int problemNumber,
               const std::array<int, 46> &codes, int elapsedSeconds);
/// Reads every record.
ResultsReadResult read(const QString &path);

struct Counts
{
    int records = 0;
    int today = 0;
    QString error;
};
/// The number of records and of those whose date field equals todayText.
Counts count(const QString &path, const QString &todayText);

} // namespace ResultsFile

} // namespace queldo
