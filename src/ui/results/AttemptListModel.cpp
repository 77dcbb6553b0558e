#include "ui/results/AttemptListModel.h"

#include "core/board/ProblemFolder.h"

namespace queldo {

AttemptListModel::AttemptListModel(QObject *parent) : QAbstractTableModel(parent) {}

void AttemptListModel::setAttempts(const std::vector<AttemptEntry> *attempts, int installedProblems,
                                   const QBrush &dimmed)
{
    beginResetModel();
    m_attempts = attempts;
    m_installedProblems = installedProblems;
    m_dimmed = dimmed;
    endResetModel();
}

void AttemptListModel::clear()
{
    setAttempts(nullptr, 0, m_dimmed);
}

const AttemptEntry *AttemptListModel::attemptAt(int row) const
{
    if (!m_attempts || row < 0 || std::size_t(row) >= m_attempts->size())
        return nullptr;
    // Newest first: the attempt a trainee wants to look at again is usually a recent one.
    return &(*m_attempts)[m_attempts->size() - 1 - std::size_t(row)];
}

int AttemptListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_attempts ? 0 : int(m_attempts->size());
}

int AttemptListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant AttemptListModel::data(const QModelIndex &index, int role) const
{
    const AttemptEntry *attempt = attemptAt(index.row());
    if (!attempt)
        return {};
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return QString::number(attempt->recordNumber);
        case 1:
            return attempt->date;
        case 2:
            return problemNumberText(attempt->problemNumber);
        case 3:
            return QStringLiteral("%1/46").arg(attempt->correctCount);
        default:
            return {};
        }
    }
    if (role == Qt::ForegroundRole && index.column() == 0 &&
        !canReplay(*attempt, m_installedProblems))
        return m_dimmed;
    return {};
}

QVariant AttemptListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char16_t *const titles[] = {u"試行No", u"日時", u"問題", u"正答数"};
    return section >= 0 && section < 4 ? QString::fromUtf16(titles[section]) : QVariant();
}

} // namespace queldo

namespace queldo {

QSize AttemptListDelegate::sizeHint(const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    if (option.font != m_font || m_sizes.size() > 4096) {
        m_sizes.clear();
        m_font = option.font;
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    const auto known = m_sizes.constFind(text);
    if (known != m_sizes.constEnd())
        return *known;
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    m_sizes.insert(text, size);
    return size;
}

} // namespace queldo
