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

LoadProblemResult LoadProblem(const QDir &imagesFolder, const QString &name)
{
    LoadProblemResult result;
    LoadedProblem &problem = result.problem;
    problem.name = name;

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
        result.BaseScale = float(in.firstRowHeight - 2 * RowMargin) / float(greatestHeight);

    for (int row = 0; row < RowCount; ++row) {
        int largestWidth = 0;
        for (int p = RowFirstPlace[std::size_t(row)]; p < rowEndPlace(row); ++p)
            largestWidth = std::max(largestWidth, bitmaps[std::size_t(p)].width);
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
