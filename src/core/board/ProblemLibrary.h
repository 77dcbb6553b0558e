#pragma once

#include "core/board/ProblemFolder.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace queldo {

/// The installed problems and the table from a position in the number list to a list index.
class ProblemLibrary
{
public:
    static constexpr int OrderCapacity = 500;

    /// Looks for the known folders under the library root, then for the abnormal problems,
    /// which follow them by the number in their names.
    static ProblemLibrary probe(const QDir &imagesFolder);
    static ProblemLibrary fromNames(const QStringList &installed);

    const QStringList &ProblemList() const { return m_problemList; }
    int count() const { return int(m_problemList.size()); }
    bool isEmpty() const { return m_problemList.isEmpty(); }

    /// "001", "002", ...: the position in the list, not the number in the folder name.
    QStringList numberTexts() const;

    const std::array<int, OrderCapacity> &problemOrder() const { return m_order; }

    /// The folder name at a number-list position, or nothing when the position names no problem.
    std::optional<QString> nameAtPosition(int position) const;
    /// The problem number a results record carries for a number-list position (ProblemOrder + 1).
    int problemNumber(int position) const;

private:
    QStringList m_problemList;
    std::array<int, OrderCapacity> m_order{};
};

} // namespace queldo
