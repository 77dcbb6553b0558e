#include "ui/results/AttemptListModel.h"

#include "core/board/ProblemFolder.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>

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
    useFont(option.font);
    if (m_sizes.size() > 4096)
        m_sizes.clear();
    const QString text = index.data(Qt::DisplayRole).toString();
    const auto known = m_sizes.constFind(text);
    if (known != m_sizes.constEnd())
        return *known;
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    m_sizes.insert(text, size);
    return size;
}

void AttemptListDelegate::useFont(const QFont &font) const
{
    if (font == m_font)
        return;
    m_sizes.clear();
    m_texts.clear();
    m_font = font;
}

void AttemptListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QWidget *widget = cell.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    // The cell with the focus, and any the style would shorten or lay out otherwise, as the
    // style draws them.
    if ((cell.state & QStyle::State_HasFocus) || cell.direction != Qt::LeftToRight ||
        cell.features != QStyleOptionViewItem::HasDisplay ||
        cell.displayAlignment != (Qt::AlignLeft | Qt::AlignVCenter)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    useFont(cell.font);
    if (m_texts.size() > 4096)
        m_texts.clear();
    ShapedText &shaped = m_texts[cell.text];
    if (shaped.width < 0) {
        const QFontMetricsF metrics(cell.font);
        shaped.width = metrics.horizontalAdvance(cell.text);
        shaped.height = metrics.height();
        shaped.text.setTextFormat(Qt::PlainText);
        shaped.text.setText(cell.text);
        shaped.text.prepare(QTransform(), cell.font);
    }
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect room = cell.rect.adjusted(margin, 0, -margin, 0);
    if (shaped.width > room.width()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    painter->setClipRect(cell.rect);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
    QPalette::ColorGroup group =
        cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active))
        group = QPalette::Inactive;
    painter->setPen(cell.palette.color(
        group, cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(cell.font);
    const int top = room.y() + (room.height() - int(shaped.height)) / 2;
    painter->drawStaticText(QPointF(room.x(), top), shaped.text);
    painter->restore();
}

} // namespace queldo
