#include "core/board/AnyProblemLoader.h"

#include "core/board/AbnormalProblemLoader.h"
#include "core/board/ChromosomeId.h"

namespace queldo {

LoadProblemResult loadProblemOfAnyKind(const QDir &imagesFolder, const QString &name)
{
    if (!isAbnormalProblem(imagesFolder, name))
        return LoadProblem(imagesFolder, name);
    LoadAbnormalProblemResult abnormal = LoadAbnormalProblem(imagesFolder, name);
    LoadProblemResult result;
    if (!abnormal.ok()) {
        result.error = abnormal.error;
        return result;
    }
    LoadedAbnormalProblem &cell = abnormal.problem;
    int sexPictures = 0;
    for (const AbnormalPiece &piece : cell.pieces)
        sexPictures += piece.bitmapClass == SexClass ? 1 : 0;
    const int ys = int(cell.karyotype.sexChromosomes.count(QLatin1Char('Y')));
    QList<int> chromosomes;
    int sexSeen = 0;
    for (const AbnormalPiece &piece : cell.pieces) {
        if (piece.bitmapClass < SexClass)
            chromosomes << piece.bitmapClass - 1;
        else
            chromosomes << (++sexSeen > sexPictures - ys ? ChromosomeId::Y : ChromosomeId::X);
    }
    LoadedProblem &problem = result.problem;
    problem.key = CellKey::abnormal(chromosomes);
    if (const QString why = cellKeyProblem(problem.key); !why.isEmpty()) {
        result.error = QStringLiteral("問題 %1: %2").arg(name, why);
        return result;
    }
    problem.name = name;
    problem.CheckValueList = cell.CheckValueList;
    problem.karyotype = cell.karyotype;
    for (int p = 0; p < cell.pieces.size(); ++p) {
        problem.SourceBitmap[std::size_t(p)] = std::move(cell.pieces[p].bitmap);
        problem.bitmapNames << cell.pieces.at(p).bitmapName;
    }
    return result;
}

} // namespace queldo
