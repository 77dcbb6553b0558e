#include "core/board/ProblemLoader.h"

#include "core/board/ProblemFolder.h"
#include "core/text/Cp932Text.h"

#include <algorithm>

namespace queldo {

BitmapDecodeResult reloadSourceBitmap(const QDir &imagesFolder, const QString &name, int piece)
{
    const QString path = imagesFolder.filePath(name + QLatin1Char('/') + bitmapFileName(piece));
    return readBitmapFile(path);
}

BitmapDecodeResult reloadSourceBitmap(const QDir &imagesFolder, const LoadedProblem &problem,
                                      int piece)
{
    if (piece < 0 || piece >= problem.bitmapNames.size())
        return reloadSourceBitmap(imagesFolder, problem.name, piece);
    return readBitmapFile(
        imagesFolder.filePath(problem.name + QLatin1Char('/') + problem.bitmapNames.at(piece)));
}

LoadProblemResult LoadProblem(const QDir &imagesFolder, const QString &name)
{
    LoadProblemResult result;
    LoadedProblem &problem = result.problem;
    problem.name = name;
    problem.key = CellKey::normal(IsFemaleProblem(name));

    const QString folder = imagesFolder.filePath(name);
    const TextReadResult set = readCp932Lines(folder + QLatin1Char('/') + checkValueFileName(name));
    if (!set.ok()) {
        result.error = set.error;
        return result;
    }
    // Kept as read: a check value that does not match its bitmap changes nothing, as
    // installed problems may carry stale ones.
    for (const QString &line : set.lines)
        problem.CheckValueList << checkValueField(line);

    for (int piece = 0; piece < PieceCount; ++piece) {
        const QString path = folder + QLatin1Char('/') + bitmapFileName(piece);
        BitmapDecodeResult decoded = readBitmapFile(path);
        if (!decoded.ok()) {
            result = {};
            result.error = decoded.error;
            return result;
        }
        problem.SourceBitmap[std::size_t(piece)] = std::move(decoded.image);
        problem.bitmapNames << bitmapFileName(piece);
    }
    return result;
}

ScaleResult computeScale(const SourceBitmaps &bitmaps, const ScaleInputs &in, const CellKey &key)
{
    ScaleResult result;
    int greatestHeight = 0;
    for (int p = 0; p < key.pieceCount; ++p)
        greatestHeight = std::max(greatestHeight, bitmaps[std::size_t(p)].height);
    if (greatestHeight > 0)
        result.BaseScale = float(in.firstRowHeight - 2 * RowMargin) / float(greatestHeight);

    for (int row = 0; row < RowCount; ++row) {
        int largestWidth = 0;
        for (int p = 0; p < key.pieceCount; ++p) {
            if (rowOfClass(key.classOf(p)) == row)
                largestWidth = std::max(largestWidth, bitmaps[std::size_t(p)].width);
        }
        if (largestWidth <= 0)
            continue;
        const float ratio = float(in.rowReferenceWidths[std::size_t(row)]) / float(largestWidth);
        if (ratio < result.BaseScale)
            result.BaseScale = ratio;
    }

    if (in.CustomScale == 1) {
        result.EffectiveScale = float(in.trackBarPosition) * result.BaseScale * 0.1f;
    } else {
        result.trackBarReset = true;
        result.EffectiveScale = result.BaseScale;
    }
    result.EffectiveScale = result.EffectiveScale * 0.9f;
    return result;
}

} // namespace queldo
