#include "core/board/ProblemFolder.h"

#include "core/board/Karyogram.h"

#include <QRegularExpression>

#include <algorithm>

namespace queldo {

const QStringList &knownProblemNames()
{
    static const QStringList names = {
        QStringLiteral("正常男性染色体核型no7"),  QStringLiteral("正常男性染色体核型no18"),
        QStringLiteral("正常女性染色体核型no52"), QStringLiteral("正常女性染色体核型no33"),
        QStringLiteral("正常男性染色体核型no45"), QStringLiteral("正常女性染色体核型no26"),
        QStringLiteral("正常女性染色体核型no46"), QStringLiteral("正常男性染色体核型no55"),
        QStringLiteral("正常男性染色体核型no29"), QStringLiteral("正常女性染色体核型no49"),
    };
    return names;
}

int abnormalProblemNumber(const QString &folderName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^異常[男女]性染色体核型no([1-9][0-9]{0,5})$"));
    const QRegularExpressionMatch match = pattern.match(folderName);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool IsFemaleProblem(const QString &name)
{
    return name.contains(QStringLiteral("女"));
}

QString bitmapFileName(int piece)
{
    return QStringLiteral("%1-%2.bmp").arg(pairClass(piece)).arg(piece % 2 + 1);
}

int checkValueOf(qint64 fileSize)
{
    return int(std::max<qint64>(fileSize - 5, 0) % 83);
}

QString checkValueFileName(const QString &problemName)
{
    return problemName + QStringLiteral(".set");
}

QString checkValueLine(int piece, qint64 fileSize)
{
    return QStringLiteral("%1,%2,%3")
        .arg(bitmapFileName(piece))
        .arg(fileSize)
        .arg(checkValueOf(fileSize));
}

QString checkValueField(const QString &line)
{
    const QStringList fields = line.split(QLatin1Char(','));
    return fields.size() > 2 ? fields.at(2) : QString();
}

QString problemNumberText(int number)
{
    return QString::asprintf("%.3d", number);
}

} // namespace queldo
