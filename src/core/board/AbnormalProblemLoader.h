#pragma once

#include "core/board/Bgr24Image.h"
#include "core/karyotype/Karyotype.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

namespace queldo {

/// One picture of an abnormal cell: its file ("21-3.bmp"), the class its name files it under
/// (1 to 23, both sex chromosomes under 23) and whether it carries the change.
struct AbnormalPiece
{
    QString bitmapName;
    int bitmapClass = 0;
    bool changed = false;
    Bgr24Image bitmap;
};

/// An abnormal cell as read from its folder: 45 to 47 pictures in the order of its check-value
/// list, and the karyotype a trainee is asked to name.
struct LoadedAbnormalProblem
{
    QString name;
    QStringList CheckValueList;
    QList<AbnormalPiece> pieces;
    Karyotype karyotype;
};

struct LoadAbnormalProblemResult
{
    LoadedAbnormalProblem problem;
    QString error; ///< the message for the trainee; empty on success
    bool ok() const { return error.isEmpty(); }
};

/// The pictures a check-value list names, in its order, without their bitmaps.
struct AbnormalListing
{
    QList<AbnormalPiece> pieces;
    QStringList CheckValueList;
    QString error; ///< empty when the list is one the board can deal
};

/// Reads the lines of an abnormal problem's check-value list. Refused: a line that names no
/// picture of a class (up to a third copy), a picture listed twice, fewer than 45 or more than
/// 47 pictures, and a changed picture that is not listed.
AbnormalListing readAbnormalListing(const QString &problemName, const QStringList &lines,
                                    const QStringList &changedBitmaps);

/// A problem folder is abnormal when it holds a karyotype file.
bool isAbnormalProblem(const QDir &imagesFolder, const QString &name);

/// Reads the karyotype file, the check-value list and every bitmap it lists. Nothing is returned
/// half-loaded: on any error the result carries only the message.
LoadAbnormalProblemResult LoadAbnormalProblem(const QDir &imagesFolder, const QString &name);

} // namespace queldo
