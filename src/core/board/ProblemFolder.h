#pragma once

#include <QString>
#include <QStringList>

namespace queldo {

/// How a problem lies on disk, shared by the program that reads problems and the tool that
/// writes the samples: Images/<folder name>/ with "<folder name>.set" and the 46 bitmaps
/// "k-1.bmp" and "k-2.bmp" for the classes k = 1 to 23.

/// The known problem folders, in the order they are looked for.
const QStringList &knownProblemNames();
/// Whether a folder name is one of the abnormal problems ("異常男性染色体核型no11",
/// "異常女性染色体核型no12", ...), and its number; 0 when it is not.
int abnormalProblemNumber(const QString &folderName);
/// True when the folder name marks a cell of a woman ("女").
bool IsFemaleProblem(const QString &name);
/// File name of a piece's bitmap: "k-1.bmp" for even pieces, "k-2.bmp" for odd ones.
QString bitmapFileName(int piece);
/// The check value of a bitmap file: its byte count after the first five bytes, modulo 83.
int checkValueOf(qint64 fileSize);
/// The check-value list's file name inside a problem folder.
QString checkValueFileName(const QString &problemName);
/// One line of the check-value list: "k-j.bmp,<size>,<check value>".
QString checkValueLine(int piece, qint64 fileSize);
/// The third field of a check-value list line (the stored check value), empty when missing.
QString checkValueField(const QString &line);
/// The three-digit problem number written into results and shown in the number list ("%.3d").
QString problemNumberText(int number);

} // namespace queldo
