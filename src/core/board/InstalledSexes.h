#pragma once

#include <QStringList>

#include <optional>
#include <vector>

namespace queldo {

/// Whether installed problem n (1 up) is a female cell, from the problem list: the X and XY
/// places of an attempt can only be judged with it.
class InstalledSexes
{
public:
    explicit InstalledSexes(const QStringList &problemList);
    /// Nothing for a number that names no installed problem.
    std::optional<bool> female(int problemNumber) const
    {
        if (problemNumber < 1 || std::size_t(problemNumber) > m_female.size())
            return std::nullopt;
        return m_female[std::size_t(problemNumber - 1)];
    }

private:
    std::vector<bool> m_female;
};

} // namespace queldo
