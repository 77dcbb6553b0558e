#pragma once

#include "core/results/Confusions.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace queldo {

/// How far a trainee's folder could be read.
enum class TraineeFolderState {
    Practised,  ///< at least one attempt was read
    NoAttempts, ///< a results file without a single attempt
    Damaged,    ///< no results file, or not a folder at all
    Link,       ///< a link in place of the folder or its results file: never followed
    Unreadable, ///< the folder or its results file could not be read
};

/// One row of the class overview: a trainee's progress at a glance.
struct TraineeSummary
{
    QString id;
    TraineeFolderState state = TraineeFolderState::NoAttempts;
    /// What is wrong with the folder, or what was left out of the figures; empty when nothing.
    QString note;
    int attempts = 0;
    QString lastDate;        ///< the date text of the last attempt, as recorded
    QDate lastDay;           ///< lastDate read as a date; invalid when it is neither form
    double perfectShare = 0; ///< attempts with all 46 places right, 0 to 1
    double meanSeconds = 0;
    /// Places right (0 to 46) in each of the last 20 attempts, oldest first.
    std::vector<int> trend;
    /// The pairs with the most misses, most first (ties by the lower pair): 1 to 22, and 23 for
    /// X with XY. Three at most; pairs never missed are not named.
    std::vector<int> mostMissed;
};

/// The class's confusions, the trainees' tables added together.
struct ClassConfusions
{
    ConfusionTable today;
    ConfusionTable week; ///< Monday of this week up to today
    ConfusionTable all;
    int withoutArrangement = 0;  ///< attempts whose arrangement was not kept
    int uninstalledProblems = 0; ///< attempts whose X and XY places could not be judged
};

struct ClassOverview
{
    std::vector<TraineeSummary> trainees; ///< by ID
    ClassConfusions confusions;
};

/// What the day is, for today's and this week's figures.
struct OverviewDay
{
    QDate today;
    QLocale locale; ///< the short date form older installations wrote
};

/// Reads every trainee folder of a Result folder. Nothing is locked and nothing is written: a
/// trainee may be scoring meanwhile, and an attempt still being appended (a last line without
/// its line end) is left out whole. A folder that cannot be read becomes a row saying so and
/// never stops the others. Entries starting with a dot are no trainee's: no ID may start so.
/// threads: how many folders are read at once; 0 for as many as the machine has cores.
ClassOverview readClassOverview(const QString &resultFolder, const QStringList &problemList,
                                const OverviewDay &day, int threads = 0);

/// Reads a class again and again, as the overview's refresh does: a trainee whose two files
/// have kept their size and time since the last reading is not read again, so a refresh costs
/// what changed. The rules of readClassOverview() hold for every reading.
class ClassOverviewReader
{
public:
    ClassOverviewReader();
    ~ClassOverviewReader();
    ClassOverview read(const QString &resultFolder, const QStringList &problemList,
                       const OverviewDay &day, int threads = 0);

private:
    struct Cached;
    std::map<QString, Cached> m_cache;
    QString m_folder;
    QStringList m_problemList;
    QDate m_today;
};

/// One trainee's row and confusions, from the folder `name` in resultFolder.
struct TraineeReading
{
    TraineeSummary summary;
    ClassConfusions confusions;
};
TraineeReading readTrainee(const QString &resultFolder, const QString &name,
                           const QStringList &problemList, const OverviewDay &day);

/// The bytes of a file as a reader may count them: what an unfinished append began to write,
/// and a last line without its line end, are cut away.
QByteArray finishedLines(const QString &path, QByteArray bytes);

/// Adds one table's counts to another.
void addConfusions(ConfusionTable &sum, const ConfusionTable &table);

} // namespace queldo
