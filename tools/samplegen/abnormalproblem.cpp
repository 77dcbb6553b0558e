#include "abnormalproblem.h"

QString AbnormalProblem::folderName() const
{
    const bool male = karyotype.contains(QLatin1Char('Y'));
    return QStringLiteral("異常%1性染色体核型no%2")
        .arg(male ? QStringLiteral("男") : QStringLiteral("女"))
        .arg(number);
}

const QList<AbnormalProblem> &AbnormalProblem::all()
{
    static const QList<AbnormalProblem> problems = [] {
        const QStringList karyotypes = {
            QStringLiteral("47,XY,+21"),
            QStringLiteral("47,XX,+18"),
            QStringLiteral("47,XY,+13"),
            QStringLiteral("45,X"),
            QStringLiteral("47,XXY"),
            QStringLiteral("47,XYY"),
            QStringLiteral("47,XXX"),
            QStringLiteral("46,XY,del(5)(p15.2)"),
            QStringLiteral("46,XX,del(11)(q14q23)"),
            QStringLiteral("46,XY,t(9;22)(q34.1;q11.2)"),
            QStringLiteral("45,XX,rob(14;21)(q10;q10)"),
            QStringLiteral("46,XY,inv(9)(p12q13)"),
            QStringLiteral("46,X,i(X)(q10)"),
            QStringLiteral("46,XY,dup(1)(q21q32)"),
        };
        QList<AbnormalProblem> list;
        for (const QString &karyotype : karyotypes)
            list.append({FirstNumber + int(list.size()), karyotype});
        return list;
    }();
    return problems;
}
