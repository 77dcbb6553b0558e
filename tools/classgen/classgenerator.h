#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <vector>

namespace classgen {

/// How a made-up trainee works: how many pieces go astray at first and at the end of the
/// history, which pairs they mix up, how long they take, and whether they practise lately.
struct SkillProfile
{
    double startMistakes = 4;   ///< pieces swapped, left out or turned per attempt, at first
    double endMistakes = 1;     ///< the same in the last attempt
    std::vector<int> weakPairs; ///< pairs (1 to 22) most of their swaps are with a neighbour of
    int meanSeconds = 400;
    int idleDays = 0; ///< days since the last attempt
};

/// The profile of trainee `index` of a class: beginners and experts, improving, stuck and
/// declining, quick and slow, practising today or not for weeks, each mixing up pairs of their
/// own. The same index always gives the same profile.
SkillProfile profileOf(int index);

/// A trainee's two files: the results file and the arrangement file, as the program writes them.
struct TraineeFiles
{
    QByteArray results;
    QByteArray arrangements;
};

/// `attempts` attempts of one trainee, the last one `profile.idleDays` before lastDay, spread over
/// the days before at a few attempts a day.
TraineeFiles traineeFiles(const SkillProfile &profile, int attempts, QDate lastDay, quint32 seed);

struct ClassOptions
{
    int trainees = 30;
    /// Attempts per trainee; 0 gives every trainee a number of their own, from none to a few
    /// hundred.
    int attempts = 0;
    QDate lastDay = QDate::currentDate();
    quint32 seed = 1;
};

/// "研修生01", "研修生02" ...
QString traineeId(int index);

/// Writes a class into a Result folder (made if missing): a user folder per trainee with its
/// results and arrangement files. Empty on success, otherwise what could not be written.
QString writeClass(const QString &resultFolder, const ClassOptions &options);

} // namespace classgen
