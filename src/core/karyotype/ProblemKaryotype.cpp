#include "core/karyotype/ProblemKaryotype.h"

#include "core/karyotype/KaryotypeReader.h"
#include "core/text/Cp932Text.h"

#include <QRegularExpression>

namespace queldo {

QByteArray problemKaryotypeBytes(const Karyotype &karyotype, const QStringList &changedBitmaps)
{
    // ISCN and bitmap names are ASCII, the same bytes in code page 932.
    QByteArray bytes = karyotype.iscn().toLatin1() + "\r\n";
    for (const QString &name : changedBitmaps)
        bytes += name.toLatin1() + "\r\n";
    return bytes;
}

ProblemKaryotype readProblemKaryotype(const QByteArray &bytes, const BandNames &bands)
{
    ProblemKaryotype result;
    const auto fail = [&](const QString &why) {
        result = {};
        result.error =
            QStringLiteral("核型ファイル %1 が読めません。(%2)").arg(karyotypeFileName(), why);
        return result;
    };
    const std::optional<QString> text = decodeCp932(bytes);
    if (!text)
        return fail(QStringLiteral("文字コードが違います"));
    QStringList lines = text->split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return fail(QStringLiteral("空のファイルです"));
    const KaryotypeReading reading = readKaryotype(lines.first(), bands);
    if (!reading.ok())
        return fail(reading.error);
    result.karyotype = reading.karyotype;
    // A class has at most a third copy in the cells this program deals.
    static const QRegularExpression bitmap(QStringLiteral("^([1-9]|1[0-9]|2[0-3])-[1-3]\\.bmp$"));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!bitmap.match(lines.at(i)).hasMatch())
            return fail(QStringLiteral("%1 行目が画像の名前ではありません").arg(i + 1));
        if (result.changedBitmaps.contains(lines.at(i)))
            return fail(QStringLiteral("%1 行目の画像は既に書かれています").arg(i + 1));
        result.changedBitmaps << lines.at(i);
    }
    return result;
}

} // namespace queldo
