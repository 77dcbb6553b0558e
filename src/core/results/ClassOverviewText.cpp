#include "core/results/ClassOverviewText.h"

#include "core/board/Karyogram.h"

#include <QLocale>

namespace queldo {

namespace {

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// One decimal, never the locale's comma: a spreadsheet would split the field there.
QString oneDecimal(double value)
{
    return QString::number(value, 'f', 1);
}

} // namespace

QStringList overviewColumnTitles()
{
    return {QStringLiteral("ID"),
            QStringLiteral("練習回数"),
            QStringLiteral("最終練習日"),
            QStringLiteral("全問正解(%)"),
            QStringLiteral("平均時間(秒)"),
            QStringLiteral("直近20回の正解数"),
            QStringLiteral("間違いの多い染色体"),
            QStringLiteral("状態")};
}

QString pairName(int pair)
{
    return pair == SexClass ? QStringLiteral("X・Y") : QStringLiteral("%1番").arg(pair);
}

QString overviewCellText(const TraineeSummary &trainee, OverviewColumn column)
{
    const bool practised = trainee.state == TraineeFolderState::Practised;
    switch (column) {
    case OverviewColumn::Id:
        return trainee.id;
    case OverviewColumn::Attempts:
        return trainee.state == TraineeFolderState::NoAttempts || practised
                   ? QString::number(trainee.attempts)
                   : QString();
    case OverviewColumn::LastDate:
        return trainee.lastDate;
    case OverviewColumn::PerfectShare:
        return practised ? oneDecimal(trainee.perfectShare * 100) : QString();
    case OverviewColumn::MeanSeconds:
        return practised ? oneDecimal(trainee.meanSeconds) : QString();
    case OverviewColumn::Trend: {
        QStringList numbers;
        for (int right : trainee.trend)
            numbers << QString::number(right);
        return numbers.join(QLatin1Char(' '));
    }
    case OverviewColumn::MostMissed: {
        QStringList names;
        for (int pair : trainee.mostMissed)
            names << pairName(pair);
        return names.join(QStringLiteral("、"));
    }
    case OverviewColumn::Note:
        return trainee.note;
    }
    return {};
}

QByteArray classOverviewCsv(const std::vector<TraineeSummary> &trainees)
{
    QString text;
    auto addRow = [&text](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field);
        text += quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    addRow(overviewColumnTitles());
    for (const TraineeSummary &trainee : trainees) {
        QStringList fields;
        for (int c = 0; c < OverviewColumnCount; ++c)
            fields << overviewCellText(trainee, OverviewColumn(c));
        addRow(fields);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

const ConfusionTable &tableOf(const ClassConfusions &confusions, ConfusionPeriod period)
{
    switch (period) {
    case ConfusionPeriod::Today:
        return confusions.today;
    case ConfusionPeriod::Week:
        return confusions.week;
    case ConfusionPeriod::All:
        break;
    }
    return confusions.all;
}

QString periodName(ConfusionPeriod period)
{
    switch (period) {
    case ConfusionPeriod::Today:
        return QStringLiteral("本日");
    case ConfusionPeriod::Week:
        return QStringLiteral("今週");
    case ConfusionPeriod::All:
        break;
    }
    return QStringLiteral("すべて");
}

QString classConfusionNotices(const ClassConfusions &confusions)
{
    QStringList lines;
    if (confusions.withoutArrangement > 0)
        lines << QStringLiteral("配置の記録がない%1回の試行は数えていません。")
                     .arg(confusions.withoutArrangement);
    if (confusions.uninstalledProblems > 0)
        lines << QStringLiteral("インストールされていない問題の%1回の試行では、X・Yの位置を数えて"
                                "いません。")
                     .arg(confusions.uninstalledProblems);
    return lines.join(QLatin1Char('\n'));
}

} // namespace queldo
