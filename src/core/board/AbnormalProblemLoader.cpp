#include "core/board/AbnormalProblemLoader.h"

#include "core/board/Karyogram.h"
#include "core/board/ProblemFolder.h"
#include "core/karyotype/BandNames.h"
#include "core/karyotype/ProblemKaryotype.h"
#include "core/text/Cp932Text.h"
#include "core/text/RegularFile.h"

#include <QRegularExpression>
#include <QSet>

namespace queldo {

namespace {

// A karyotype file is one karyotype and a few names; anything much larger is not one.
constexpr qint64 MaximumKaryotypeFileBytes = 64 * 1024;

} // namespace

AbnormalListing readAbnormalListing(const QString &name, const QStringList &lines,
                                    const QStringList &changedBitmaps)
{
    AbnormalListing listing;
    const auto fail = [&](const QString &message) {
        listing = {};
        listing.error = message;
        return listing;
    };
    static const QRegularExpression bitmapName(
        QStringLiteral("^([1-9]|1[0-9]|2[0-3])-[1-3]\\.bmp$"));
    QSet<QString> listed;
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        const QString file = line.section(QLatin1Char(','), 0, 0);
        const QRegularExpressionMatch match = bitmapName.match(file);
        if (!match.hasMatch())
            return fail(QStringLiteral("問題 %1 の一覧に画像の名前でない行があります。").arg(name));
        if (listed.contains(file))
            return fail(QStringLiteral("問題 %1 の一覧に %2 が二度あります。").arg(name, file));
        listed.insert(file);
        listing.CheckValueList << checkValueField(line);
        listing.pieces.append(
            {file, match.captured(1).toInt(), changedBitmaps.contains(file), Bgr24Image()});
    }
    if (listing.pieces.size() < FewestPieces || listing.pieces.size() > MostPieces)
        return fail(QStringLiteral("問題 %1 の染色体の数 (%2) は扱えません。")
                        .arg(name)
                        .arg(listing.pieces.size()));
    for (const QString &changed : changedBitmaps) {
        if (!listed.contains(changed))
            return fail(QStringLiteral("問題 %1 の核型ファイルにある %2 が一覧にありません。")
                            .arg(name, changed));
    }
    return listing;
}

bool isAbnormalProblem(const QDir &imagesFolder, const QString &name)
{
    return QFileInfo(imagesFolder.filePath(name + QLatin1Char('/') + karyotypeFileName())).isFile();
}

LoadAbnormalProblemResult LoadAbnormalProblem(const QDir &imagesFolder, const QString &name)
{
    LoadAbnormalProblemResult result;
    const auto fail = [&](const QString &message) {
        result = {};
        result.error = message;
        return result;
    };
    const QString folder = imagesFolder.filePath(name) + QLatin1Char('/');
    const FileBytes karyotypeBytes =
        readRegularFile(folder + karyotypeFileName(), MaximumKaryotypeFileBytes);
    if (!karyotypeBytes.ok())
        return fail(karyotypeBytes.error);
    const ProblemKaryotype karyotype =
        readProblemKaryotype(karyotypeBytes.bytes, BandNames::embedded());
    if (!karyotype.ok())
        return fail(karyotype.error);

    const TextReadResult set = readCp932Lines(folder + checkValueFileName(name));
    if (!set.ok())
        return fail(set.error);
    AbnormalListing listing = readAbnormalListing(name, set.lines, karyotype.changedBitmaps);
    if (!listing.error.isEmpty())
        return fail(listing.error);
    LoadedAbnormalProblem &problem = result.problem;
    problem.name = name;
    problem.karyotype = karyotype.karyotype;
    problem.CheckValueList = listing.CheckValueList;
    problem.pieces = std::move(listing.pieces);
    for (AbnormalPiece &piece : problem.pieces) {
        BitmapDecodeResult decoded = readBitmapFile(folder + piece.bitmapName);
        if (!decoded.ok())
            return fail(decoded.error);
        piece.bitmap = std::move(decoded.image);
    }
    return result;
}

} // namespace queldo
