#include "core/karyotype/KaryotypeScore.h"

#include "core/board/ChromosomeId.h"

#include <algorithm>

namespace queldo {

namespace {

double breakpointCredit(const Breakpoint &expected, const Breakpoint &written)
{
    if (expected == written)
        return 1.0;
    const bool sameBand = expected.chromosome == written.chromosome &&
                          expected.shortArm == written.shortArm &&
                          expected.mainBand() == written.mainBand();
    return sameBand ? 0.5 : 0.0;
}

// Kind and chromosomes right: one share for them and one for each breakpoint.
KaryotypePart matchedPart(const Abnormality &expected, const Abnormality &written)
{
    KaryotypePart part{expected.iscn(), 1.0, {}};
    if (expected.breakpoints.isEmpty())
        return part;
    double credit = 1.0;
    for (qsizetype i = 0; i < expected.breakpoints.size(); ++i) {
        const Breakpoint &want = expected.breakpoints[i];
        const Breakpoint &got = written.breakpoints.value(i);
        const double share = breakpointCredit(want, got);
        credit += share;
        if (share < 1.0)
            part.feedback
                << QStringLiteral("切断点は %1 です (回答: %2)").arg(want.text(), got.text());
    }
    part.credit = credit / double(expected.breakpoints.size() + 1);
    return part;
}

bool sameKindAndChromosomes(const Abnormality &a, const Abnormality &b)
{
    return a.kind == b.kind && a.chromosomes == b.chromosomes;
}

QString chromosomeNames(const QList<int> &chromosomes)
{
    QStringList names;
    for (int chromosome : chromosomes)
        names << ChromosomeId::name(chromosome);
    return names.join(QStringLiteral("・"));
}

} // namespace

bool KaryotypeScore::right() const
{
    return std::all_of(parts.begin(), parts.end(),
                       [](const KaryotypePart &part) { return part.credit == 1.0; });
}

double KaryotypeScore::fraction() const
{
    if (parts.isEmpty())
        return 0.0;
    double sum = 0.0;
    for (const KaryotypePart &part : parts)
        sum += part.credit;
    return sum / double(parts.size());
}

QStringList KaryotypeScore::feedback() const
{
    QStringList sentences;
    for (const KaryotypePart &part : parts)
        sentences << part.feedback;
    return sentences;
}

KaryotypeScore scoreKaryotype(const Karyotype &expected, const Karyotype &written)
{
    KaryotypeScore score;
    KaryotypePart count{QStringLiteral("染色体数"), 1.0, {}};
    if (written.count != expected.count) {
        count.credit = 0.0;
        count.feedback << QStringLiteral("染色体数は %1 です (回答: %2)")
                              .arg(expected.count)
                              .arg(written.count);
    }
    score.parts << count;
    KaryotypePart sex{QStringLiteral("性染色体"), 1.0, {}};
    if (written.sexChromosomes != expected.sexChromosomes) {
        sex.credit = 0.0;
        sex.feedback << QStringLiteral("性染色体は %1 です (回答: %2)")
                            .arg(expected.sexChromosomes, written.sexChromosomes);
    }
    score.parts << sex;

    QList<Abnormality> unmatched = written.abnormalities;
    QList<const Abnormality *> missing;
    for (const Abnormality &want : expected.abnormalities) {
        const auto found =
            std::find_if(unmatched.begin(), unmatched.end(),
                         [&](const Abnormality &got) { return sameKindAndChromosomes(want, got); });
        if (found == unmatched.end()) {
            missing << &want;
            continue;
        }
        score.parts << matchedPart(want, *found);
        unmatched.erase(found);
    }
    // A change found on the right chromosomes but named as another kind is told as such, not as
    // one missed and one invented.
    for (const Abnormality *want : std::as_const(missing)) {
        KaryotypePart part{want->iscn(), 0.0, {}};
        const auto confused =
            std::find_if(unmatched.begin(), unmatched.end(), [&](const Abnormality &got) {
                return got.chromosomes == want->chromosomes;
            });
        if (confused != unmatched.end()) {
            part.feedback << QStringLiteral("%1 番染色体の異常は %2 です (回答: %3)")
                                 .arg(chromosomeNames(want->chromosomes), want->iscn(),
                                      confused->iscn());
            unmatched.erase(confused);
        } else {
            part.feedback << QStringLiteral("%1 を見落としました").arg(want->iscn());
        }
        score.parts << part;
    }
    for (const Abnormality &extra : std::as_const(unmatched))
        score.parts << KaryotypePart{
            extra.iscn(), 0.0, {QStringLiteral("%1 はこの細胞にはありません").arg(extra.iscn())}};
    return score;
}

} // namespace queldo
