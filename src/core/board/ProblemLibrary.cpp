#include "core/board/ProblemLibrary.h"

namespace queldo {

const QStringList &knownProblemNames()
{
    static const QStringList names = {
        QStringLiteral("正常男性染色体核型no7"),  QStringLiteral("正常男性染色体核型no18"),
        QStringLiteral("正常女性染色体核型no52"), QStringLiteral("正常女性染色体核型no33"),
        QStringLiteral("正常男性染色体核型no45"), QStringLiteral("正常女性染色体核型no26"),
        QStringLiteral("正常女性染色体核型no46"), QStringLiteral("正常男性染色体核型no55"),
        QStringLiteral("正常男性染色体核型no29"), QStringLiteral("正常女性染色体核型no49"),
    };
    return names;
}

bool IsFemaleProblem(const QString &name)
{
    return name.contains(QStringLiteral("女"));
}

ProblemLibrary ProblemLibrary::probe(const QDir &imagesFolder)
{
    QStringList installed;
    for (const QString &name : knownProblemNames()) {
        if (QFileInfo(imagesFolder.filePath(name)).isDir())
            installed << name;
    }
    return fromNames(installed);
}

ProblemLibrary ProblemLibrary::fromNames(const QStringList &installed)
{
    ProblemLibrary library;
    library.m_problemList = installed.mid(0, OrderCapacity);
    library.m_order.fill(-1);
    for (int p = 0; p < library.count(); ++p)
        library.m_order[std::size_t(p)] = p;
    return library;
}

QStringList ProblemLibrary::numberTexts() const
{
    QStringList texts;
    for (int p = 0; p < count(); ++p)
        texts << QString::asprintf("%.3d", p + 1);
    return texts;
}

std::optional<QString> ProblemLibrary::nameAtPosition(int position) const
{
    if (position < 0 || position >= OrderCapacity)
        return std::nullopt;
    const int index = m_order[std::size_t(position)];
    if (index < 0 || index >= count())
        return std::nullopt;
    return m_problemList.at(index);
}

QString ProblemLibrary::problemNumberText(int position) const
{
    const int index =
        (position >= 0 && position < OrderCapacity) ? m_order[std::size_t(position)] : -1;
    return QString::asprintf("%.3d", index + 1);
}

} // namespace queldo
