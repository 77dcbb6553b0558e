#include "core/board/InstalledSexes.h"

#include "core/board/ProblemFolder.h"

namespace queldo {

InstalledSexes::InstalledSexes(const QStringList &problemList)
{
    m_female.reserve(std::size_t(problemList.size()));
    for (const QString &name : problemList)
        m_female.push_back(IsFemaleProblem(name));
}

} // namespace queldo
