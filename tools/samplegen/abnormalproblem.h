#pragma once

#include <QList>
#include <QString>

// A practice problem of an abnormal cell, numbered after the normal samples.
struct AbnormalProblem
{
    int number = 0;
    QString karyotype; // ISCN

    // "異常男性染色体核型no11"; "女" when the cell has no Y, as the program tells the sex by it.
    QString folderName() const;

    // The set written next to the normal samples, one of each change the trainee should know.
    static const QList<AbnormalProblem> &all();
    static constexpr int FirstNumber = 11;
};
