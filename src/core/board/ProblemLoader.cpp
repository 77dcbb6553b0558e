#include "core/board/ProblemLoader.h"

#include "core/text/Cp932Text.h"

#include <QFile>

#include <algorithm>

namespace queldo {

QString bitmapFileName(int piece)
{
    return QStringLiteral("%1-%2.bmp").arg(piece / 2 + 1).arg(piece % 2 == 0 ? 1 : 2);
}

int checkValueOf(qint64 fileSize)
{
    return int(std::max<qint64>(fileSize - 5, 0) % 83);
}

namespace {

struct FileBytes
{
    QByteArray bytes;
    QString error;
};

FileBytes readWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("ファイル %1 を開けません。(%2)").arg(path, file.errorString())};
    // A chromosome bitmap is a few tens of kilobytes; anything this large is not one.
    if (file.size() > qint64(MaximumBitmapSide) * MaximumBitmapSide * 4)
        return {{}, QStringLiteral("ファイル %1 が大きすぎます。").arg(path)};
    return {file.readAll(), {}};
}

} // namespace

BitmapDecodeResult reloadSourceBitmap(const QDir &imagesFolder, const QString &name, int piece)
{
    const QString path = imagesFolder.filePath(name + QLatin1Char('/') + bitmapFileName(piece));
    const FileBytes file = readWhole(path);
    if (!file.error.isEmpty())
        return {{}, file.error};
    return decodeBitmap(file.bytes, path);
}

LoadProblemResult LoadProblem(const QDir &imagesFolder, const QString &name)
{
    LoadProblemResult result;
    LoadedProblem &problem = result.problem;
    problem.name = name;

    const QString folder = imagesFolder.filePath(name);
    const TextReadResult set =
        readCp932Lines(folder + QLatin1Char('/') + name + QStringLiteral(".set"));
    if (!set.ok()) {
        result.error = set.error;
        return result;
    }
    for (const QString &line : set.lines) {
        const QStringList fields = line.split(QLatin1Char(','));
        problem.checkValueList << (fields.size() > 2 ? fields.at(2) : QString());
    }

    for (int piece = 0; piece < PieceCount; ++piece) {
        const QString path = folder + QLatin1Char('/') + bitmapFileName(piece);
        const FileBytes file = readWhole(path);
        BitmapDecodeResult decoded = file.error.isEmpty() ? decodeBitmap(file.bytes, path)
                                                          : BitmapDecodeResult{{}, file.error};
        if (!decoded.ok()) {
            result = {};
            result.error = decoded.error;
            return result;
        }
        const bool matches =
            piece < problem.checkValueList.size() &&
            problem.checkValueList.at(piece).trimmed().toInt() == checkValueOf(file.bytes.size());
        if (!matches)
            problem.checkValueMismatches << piece;
        problem.greatestHeight = std::max(problem.greatestHeight, decoded.image.height);
        problem.sourceBitmaps[std::size_t(piece)] = std::move(decoded.image);
    }
    return result;
}

ScaleResult computeScale(const std::array<Bgr24Image, PieceCount> &bitmaps, const ScaleInputs &in)
{
    ScaleResult result;
    int greatestHeight = 0;
    for (const Bgr24Image &b : bitmaps)
        greatestHeight = std::max(greatestHeight, b.height);
    if (greatestHeight > 0)
        result.baseScale = float(in.firstRowHeight - 2 * RowMargin) / float(greatestHeight);

    for (std::size_t row = 0; row < RowPieceRanges.size(); ++row) {
        int largestWidth = 0;
        for (int p = RowPieceRanges[row].first; p < RowPieceRanges[row].second; ++p)
            largestWidth = std::max(largestWidth, bitmaps[std::size_t(p)].width);
        if (largestWidth <= 0)
            continue;
        const float ratio = float(in.rowReferenceWidths[row]) / float(largestWidth);
        if (ratio < result.baseScale)
            result.baseScale = ratio;
    }

    if (in.customScale == 1) {
        result.effectiveScale = float(in.trackBarPosition) * result.baseScale * 0.1f;
    } else {
        result.trackBarReset = true;
        result.effectiveScale = result.baseScale;
    }
    result.effectiveScale = result.effectiveScale * 0.9f;
    return result;
}

} // namespace queldo
