#pragma once

#include <QList>
#include <QString>

// One of the shipped practice problems: a normal cell in its own folder.
struct SampleProblem
{
    int number = 0; // 1..10
    QString folderName;

    // The program tells the sex of a problem from its name.
    bool isFemale() const;

    static const QList<SampleProblem> &all();
};
