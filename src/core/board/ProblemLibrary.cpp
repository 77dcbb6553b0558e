#include "core/board/ProblemLibrary.h"

#include <algorithm>

namespace queldo {

ProblemLibrary ProblemLibrary::probe(const QDir &imagesFolder)
{
    QStringList installed;
    for (const QString &name : knownProblemNames()) {
        if (QFileInfo(imagesFolder.filePath(name)).isDir())
            installed << name;
    }
    QStringList abnormal = imagesFolder.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    abnormal.removeIf([](const QString &name) { return abnormalProblemNumber(name) == 0; });
    // By number, and a male and a female folder of one number in a fixed order.
    std::sort(abnormal.begin(), abnormal.end(), [](const QString &a, const QString &b) {
        const int na = abnormalProblemNumber(a), nb = abnormalProblemNumber(b);
        return na != nb ? na < nb : a < b;
    });
    return fromNames(installed + abnormal);
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
        texts << problemNumberText(p + 1);
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

int ProblemLibrary::problemNumber(int position) const
{
    const int index =
        (position >= 0 && position < OrderCapacity) ? m_order[std::size_t(position)] : -1;
    return index + 1;
}

} // namespace queldo
