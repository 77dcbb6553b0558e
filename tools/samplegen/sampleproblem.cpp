#include "sampleproblem.h"

const QList<SampleProblem> &SampleProblem::all()
{
    static const QList<SampleProblem> problems = {
        {1, QStringLiteral("正常男性染色体核型no7")},
        {2, QStringLiteral("正常男性染色体核型no18")},
        {3, QStringLiteral("正常女性染色体核型no52")},
        {4, QStringLiteral("正常女性染色体核型no33")},
        {5, QStringLiteral("正常男性染色体核型no45")},
        {6, QStringLiteral("正常女性染色体核型no26")},
        {7, QStringLiteral("正常女性染色体核型no46")},
        {8, QStringLiteral("正常男性染色体核型no55")},
        {9, QStringLiteral("正常男性染色体核型no29")},
        {10, QStringLiteral("正常女性染色体核型no49")},
    };
    return problems;
}
