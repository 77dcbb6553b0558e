#include "classgenerator.h"

#include "core/app/UserFiles.h"
#include "core/board/AnswerKey.h"
#include "core/board/ProblemFolder.h"
#include "core/results/ArrangementFile.h"
#include "core/results/ResultsFile.h"
#include "core/text/Cp932Text.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

using namespace queldo;

namespace classgen {

namespace {

// Pairs that look alike and are mixed up in real classes.
const std::vector<std::vector<int>> WeakPairSets = {
    {9, 10}, {4, 5}, {19, 20}, {21, 22}, {13, 14}, {6, 7}, {11, 12}, {1, 2, 3}, {16, 18}, {8, 9}};

QByteArray encoded(const QString &text)
{
    return *encodeCp932(text) + "\r\n";
}

int poisson(QRandomGenerator &random, double mean)
{
    // Knuth's method: means here stay small.
    const double limit = std::exp(-mean);
    int k = 0;
    for (double p = random.generateDouble(); p > limit; p *= random.generateDouble())
        ++k;
    return k;
}

int placeOfPair(int pair, int which)
{
    return (pair - 1) * 2 + which;
}

Arrangement attempt(QRandomGenerator &random, const SkillProfile &profile, double mistakes)
{
    Arrangement places;
    for (int s = 0; s < 46; ++s)
        places[std::size_t(s)] = {s, int(random.bounded(3))}; // upright, give or take a step
    const int count = poisson(random, mistakes);
    for (int m = 0; m < count; ++m) {
        const int kind = int(random.bounded(10));
        if (kind < 7) {
            // A swap: mostly one of the trainee's weak pairs with its neighbour in the karyogram.
            int pair = 1 + int(random.bounded(22));
            if (!profile.weakPairs.empty() && random.bounded(4) != 0)
                pair = profile.weakPairs[random.bounded(int(profile.weakPairs.size()))];
            const int other = pair < 22 ? pair + 1 : pair - 1;
            std::swap(places[std::size_t(placeOfPair(pair, int(random.bounded(2))))].piece,
                      places[std::size_t(placeOfPair(other, int(random.bounded(2))))].piece);
        } else if (kind < 9) {
            places[std::size_t(random.bounded(46))].rotationStep = 8; // turned 120 degrees
        } else {
            places[std::size_t(random.bounded(46))] = {-1, 0};
        }
    }
    for (PlacedPiece &p : places)
        if (p.piece < 0)
            p.rotationStep = 0;
    return places;
}

} // namespace

SkillProfile profileOf(int index)
{
    QRandomGenerator random(quint32(index) * 7919u + 17u);
    SkillProfile profile;
    // Levels cycle through beginner, average and expert; trends through improving, stuck and
    // declining, so that every combination appears in a class of ten or more.
    const double level = std::array{6.0, 3.0, 0.6}[std::size_t(index % 3)];
    const double trend = std::array{0.25, 1.0, 1.6}[std::size_t((index / 3) % 3)];
    profile.startMistakes = level;
    profile.endMistakes = level * trend;
    const auto &set = WeakPairSets[std::size_t(index % int(WeakPairSets.size()))];
    profile.weakPairs = set;
    profile.meanSeconds = 150 + int(random.bounded(600));
    profile.idleDays = std::array{0, 0, 1, 3, 9, 30}[std::size_t(index % 6)];
    return profile;
}

TraineeFiles traineeFiles(const SkillProfile &profile, int attempts, QDate lastDay, quint32 seed)
{
    QRandomGenerator random(seed);
    TraineeFiles files;
    files.results = encoded(ResultsHeader);
    files.arrangements = encoded(ArrangementHeader);
    const QStringList &problems = knownProblemNames();
    const QDate last = lastDay.addDays(-profile.idleDays);
    const int perDay = 4;
    for (int r = 0; r < attempts; ++r) {
        const QString date = resultsDateText(last.addDays(-(attempts - 1 - r) / perDay));
        const int problem = 1 + int(random.bounded(int(problems.size())));
        const bool female = IsFemaleProblem(problems[problem - 1]);
        const double progress = attempts > 1 ? double(r) / (attempts - 1) : 1.0;
        const double mistakes =
            profile.startMistakes + (profile.endMistakes - profile.startMistakes) * progress;
        const Arrangement places = attempt(random, profile, mistakes);
        std::array<int, 46> codes;
        for (int s = 0; s < 46; ++s)
            codes[std::size_t(s)] = slotVerdict(s, places[std::size_t(s)].piece,
                                                places[std::size_t(s)].rotationStep, female);
        const int seconds =
            std::max(30, profile.meanSeconds + int(random.bounded(200)) - 100 + int(mistakes * 20));
        files.results += ResultsFile::recordLine(r, date, problem, codes, seconds).toLatin1();
        files.results += "\r\n";
        files.arrangements += ArrangementFile::lineText({r, date, problem, places}).toLatin1();
        files.arrangements += "\r\n";
    }
    return files;
}

QString traineeId(int index)
{
    return QStringLiteral("研修生%1").arg(index + 1, 2, 10, QLatin1Char('0'));
}

QString writeClass(const QString &resultFolder, const ClassOptions &options)
{
    for (int i = 0; i < options.trainees; ++i) {
        const QString id = traineeId(i);
        const QString folder = QDir(resultFolder).filePath(id);
        if (!QDir().mkpath(folder))
            return QStringLiteral("cannot make %1").arg(folder);
        const int attempts =
            options.attempts > 0 ? options.attempts : (i % 10 == 9 ? 0 : 20 + (i * 37) % 280);
        const TraineeFiles files =
            traineeFiles(profileOf(i), attempts, options.lastDay, options.seed + quint32(i));
        for (const auto &[kind, bytes] : {std::pair{UserFile::Results, files.results},
                                          std::pair{UserFile::Arrangements, files.arrangements}}) {
            QFile file(QDir(folder).filePath(userFileName(id, kind)));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return QStringLiteral("cannot write %1").arg(file.fileName());
        }
    }
    return {};
}

} // namespace classgen
