#include "sampleproblem.h"

#include "core/board/ProblemFolder.h"

const QList<SampleProblem> &SampleProblem::all()
{
    // The program looks for exactly these folders, so the samples take the program's own list.
    static const QList<SampleProblem> problems = [] {
        QList<SampleProblem> list;
        const QStringList &names = queldo::knownProblemNames();
        for (int i = 0; i < names.size(); ++i)
            list.append({i + 1, names.at(i)});
        return list;
    }();
    return problems;
}

bool SampleProblem::isFemale() const
{
    return queldo::IsFemaleProblem(folderName);
}
