#include "core/karyotype/KaryotypeReader.h"

#include "core/board/ChromosomeId.h"
#include "core/karyotype/BandNames.h"

#include <QRegularExpression>

#include <optional>

namespace queldo {

namespace {

// Longer than any karyotype of one cell line with a few changes; a pasted essay is refused
// before it is taken apart.
constexpr qsizetype MaximumLength = 200;

const QString Ter = QStringLiteral("ter");

// What an input method or a word processor puts in place of ISCN's ASCII symbols.
QString plain(const QString &typed)
{
    QString text = typed.normalized(QString::NormalizationForm_KC);
    QString out;
    for (QChar c : std::as_const(text)) {
        if (c.isSpace())
            continue;
        // A Japanese input method gives the long-vowel mark for the minus key.
        if (c == QChar(0x2212) || c == QChar(0x30FC) ||
            (c.unicode() >= 0x2010 && c.unicode() <= 0x2015))
            c = QLatin1Char('-');
        else if (c == QChar(0x3001))
            c = QLatin1Char(',');
        out += c;
    }
    return out;
}

class Reader
{
public:
    explicit Reader(const BandNames &bands) : m_bands(bands) {}

    std::optional<Abnormality> abnormality(const QString &field);
    QString error() const { return m_error; }

private:
    std::optional<Abnormality> fail(const QString &message)
    {
        m_error = message;
        return std::nullopt;
    }
    std::optional<QList<Breakpoint>> breakpoints(const QString &text, int chromosome);
    std::optional<Abnormality> singleChromosome(AbnormalityKind kind, int chromosome,
                                                const QString &field, const QString &bandText);
    std::optional<Abnormality> twoChromosomes(const QString &keyword, const QList<int> &chromosomes,
                                              const QString &field, const QString &bandText,
                                              bool hasBands);

    const BandNames &m_bands;
    QString m_error;
};

std::optional<QList<Breakpoint>> Reader::breakpoints(const QString &text, int chromosome)
{
    static const QRegularExpression token(QStringLiteral("([pq])(ter|\\d{1,2}(?:\\.\\d{1,2})?)"));
    QList<Breakpoint> points;
    qsizetype at = 0;
    while (at < text.size()) {
        const QRegularExpressionMatch match =
            token.match(text, at, QRegularExpression::NormalMatch,
                        QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch()) {
            m_error = QStringLiteral("切断点「%1」が読めません (例: p15.2, q34.1)。").arg(text);
            return std::nullopt;
        }
        const Breakpoint point{chromosome, match.captured(1) == QLatin1String("p"),
                               match.captured(2)};
        if (point.band != Ter && !m_bands.contains(point)) {
            m_error = QStringLiteral("%1 という領域はありません。").arg(point.text());
            return std::nullopt;
        }
        points << point;
        at = match.capturedEnd();
    }
    if (points.isEmpty()) {
        m_error = QStringLiteral("切断点が書かれていません。");
        return std::nullopt;
    }
    return points;
}

std::optional<Abnormality> Reader::abnormality(const QString &field)
{
    static const QRegularExpression numerical(QStringLiteral("^([+-])([0-9]{1,2}|X|Y)$"));
    static const QRegularExpression structural(
        QStringLiteral("^([a-z]+)\\(([^()]*)\\)(?:\\(([^()]*)\\))?$"));
    const QRegularExpressionMatch count = numerical.match(field);
    if (count.hasMatch()) {
        const int chromosome = ChromosomeId::fromName(count.captured(2));
        if (chromosome == ChromosomeId::X || chromosome == ChromosomeId::Y)
            return fail(QStringLiteral("性染色体の増減は 2 番目の欄に書きます (例: 47,XXY)。"));
        if (chromosome < 0)
            return fail(QStringLiteral("「%1」という染色体はありません。").arg(count.captured(2)));
        return Abnormality{count.captured(1) == QLatin1String("+") ? AbnormalityKind::Gain
                                                                   : AbnormalityKind::Loss,
                           {chromosome},
                           {}};
    }
    const QRegularExpressionMatch match = structural.match(field);
    if (!match.hasMatch())
        return fail(QStringLiteral("「%1」が読めません。").arg(field));
    const QString keyword = match.captured(1);
    const QString chromosomeText = match.captured(2);
    const QString bandText = match.captured(3);
    const bool hasBands = match.lastCapturedIndex() >= 3;

    // i(Xq), the older spelling of i(X)(q10).
    static const QRegularExpression armOnly(QStringLiteral("^([0-9]{1,2}|X|Y)([pq])$"));
    const QRegularExpressionMatch arm = armOnly.match(chromosomeText);
    if (keyword == QLatin1String("i") && !hasBands && arm.hasMatch()) {
        const int chromosome = ChromosomeId::fromName(arm.captured(1));
        if (chromosome < 0)
            return fail(QStringLiteral("「%1」という染色体はありません。").arg(arm.captured(1)));
        return Abnormality{
            AbnormalityKind::Isochromosome,
            {chromosome},
            {{chromosome, arm.captured(2) == QLatin1String("p"), QStringLiteral("10")}}};
    }

    QList<int> chromosomes;
    for (const QString &name : chromosomeText.split(QLatin1Char(';'))) {
        const int chromosome = ChromosomeId::fromName(name);
        if (chromosome < 0)
            return fail(QStringLiteral("「%1」という染色体はありません。").arg(name));
        if (chromosomes.contains(chromosome))
            return fail(QStringLiteral("「%1」に同じ染色体が二度書かれています。").arg(field));
        chromosomes << chromosome;
    }
    static const QHash<QString, AbnormalityKind> single = {
        {QStringLiteral("del"), AbnormalityKind::Deletion},
        {QStringLiteral("dup"), AbnormalityKind::Duplication},
        {QStringLiteral("inv"), AbnormalityKind::Inversion},
        {QStringLiteral("i"), AbnormalityKind::Isochromosome},
    };
    if (single.contains(keyword)) {
        if (chromosomes.size() != 1)
            return fail(QStringLiteral("%1 には染色体を一つ書きます。").arg(keyword));
        if (!hasBands)
            return fail(QStringLiteral("「%1」に切断点が書かれていません。").arg(field));
        return singleChromosome(single.value(keyword), chromosomes.first(), field, bandText);
    }
    if (keyword == QLatin1String("t") || keyword == QLatin1String("rob") ||
        keyword == QLatin1String("der"))
        return twoChromosomes(keyword, chromosomes, field, bandText, hasBands);
    return fail(QStringLiteral("「%1」は扱える異常ではありません "
                               "(扱えるもの: +, -, del, dup, inv, t, rob, i)。")
                    .arg(keyword));
}

std::optional<Abnormality> Reader::singleChromosome(AbnormalityKind kind, int chromosome,
                                                    const QString &field, const QString &bandText)
{
    auto points = breakpoints(bandText, chromosome);
    if (!points)
        return std::nullopt;
    // del(5)(p15.2pter) says the same as del(5)(p15.2): the lost part reaches the tip.
    if (kind == AbnormalityKind::Deletion && points->size() == 2) {
        if (points->last().band == Ter && points->last().shortArm == points->first().shortArm)
            points->removeLast();
        else if (points->first().band == Ter && points->last().shortArm == points->first().shortArm)
            points->removeFirst();
    }
    for (const Breakpoint &point : std::as_const(*points)) {
        if (point.band == Ter)
            return fail(QStringLiteral("「%1」の切断点が読めません。").arg(field));
    }
    const qsizetype count = points->size();
    const bool fits = kind == AbnormalityKind::Deletion ? count == 1 || count == 2
                      : kind == AbnormalityKind::Isochromosome
                          ? count == 1 && points->first().band == QLatin1String("10")
                          : count == 2;
    if (!fits) {
        if (kind == AbnormalityKind::Isochromosome)
            return fail(QStringLiteral("同腕染色体の切断点は p10 か q10 です。"));
        return fail(QStringLiteral("「%1」の切断点の数が合いません。").arg(field));
    }
    return Abnormality{kind, {chromosome}, *points};
}

std::optional<Abnormality> Reader::twoChromosomes(const QString &keyword,
                                                  const QList<int> &chromosomes,
                                                  const QString &field, const QString &bandText,
                                                  bool hasBands)
{
    if (chromosomes.size() != 2)
        return fail(QStringLiteral("%1 には染色体を二つ、; で区切って書きます。").arg(keyword));
    const bool robertsonian = keyword != QLatin1String("t");
    if (robertsonian && !hasBands && keyword == QLatin1String("rob"))
        return Abnormality{AbnormalityKind::Robertsonian,
                           chromosomes,
                           {{chromosomes[0], false, QStringLiteral("10")},
                            {chromosomes[1], false, QStringLiteral("10")}}};
    if (!hasBands)
        return fail(QStringLiteral("「%1」に切断点が書かれていません。").arg(field));
    const QStringList sides = bandText.split(QLatin1Char(';'));
    if (sides.size() != 2)
        return fail(
            QStringLiteral("「%1」の切断点は染色体ごとに ; で区切って書きます。").arg(field));
    QList<Breakpoint> points;
    for (int side = 0; side < 2; ++side) {
        const auto point = breakpoints(sides[side], chromosomes[side]);
        if (!point)
            return std::nullopt;
        if (point->size() != 1 || point->first().band == Ter)
            return fail(QStringLiteral("「%1」の切断点は染色体ごとに一つです。").arg(field));
        points << point->first();
    }
    if (robertsonian) {
        for (const Breakpoint &point : points) {
            if (point.shortArm || point.band != QLatin1String("10"))
                return fail(QStringLiteral("ロバートソン転座の切断点は q10;q10 です (回答: %1)。")
                                .arg(bandText));
        }
        return Abnormality{AbnormalityKind::Robertsonian, chromosomes, points};
    }
    return Abnormality{AbnormalityKind::Translocation, chromosomes, points};
}

} // namespace

KaryotypeReading readKaryotype(const QString &typed, const BandNames &bands)
{
    KaryotypeReading reading;
    const QString text = plain(typed);
    if (text.isEmpty()) {
        reading.error = QStringLiteral("核型が書かれていません。");
        return reading;
    }
    if (text.size() > MaximumLength) {
        reading.error = QStringLiteral("核型が長すぎます。");
        return reading;
    }
    for (QChar c : text) {
        const bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                             (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                             (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                             QStringLiteral("+-();,.").contains(c);
        if (!allowed) {
            reading.error = QStringLiteral("核型に使えない文字「%1」があります。").arg(c);
            return reading;
        }
    }
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() < 2) {
        reading.error =
            QStringLiteral("染色体数と性染色体をカンマで区切って書きます (例: 46,XY)。");
        return reading;
    }
    if (fields.contains(QString())) {
        reading.error = QStringLiteral("カンマの間に何も書かれていない欄があります。");
        return reading;
    }
    static const QRegularExpression count(QStringLiteral("^[0-9]{1,3}$"));
    if (!count.match(fields[0]).hasMatch()) {
        reading.error = QStringLiteral("最初の欄は染色体数です (回答: %1)。").arg(fields[0]);
        return reading;
    }
    static const QRegularExpression sex(QStringLiteral("^[XY]{1,4}$"));
    if (!sex.match(fields[1]).hasMatch()) {
        reading.error = QStringLiteral("2 番目の欄は性染色体です (例: XY, XX, X, XXY。回答: %1)。")
                            .arg(fields[1]);
        return reading;
    }
    reading.karyotype.count = fields[0].toInt();
    reading.karyotype.sexChromosomes = fields[1];
    Reader reader(bands);
    for (qsizetype i = 2; i < fields.size(); ++i) {
        const auto abnormality = reader.abnormality(fields[i]);
        if (!abnormality) {
            reading.error = reader.error();
            reading.karyotype = {};
            return reading;
        }
        reading.karyotype.abnormalities << *abnormality;
    }
    normalise(reading.karyotype);
    return reading;
}

} // namespace queldo
