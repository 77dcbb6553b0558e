#pragma once

#include "core/results/Confusions.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

#include <vector>

namespace queldo {

/// The past attempts as the confusion window lists them, newest first: 試行No, 日時, 問題 and
/// 正答数. Rows are made only as the view asks for them, so that a history of years opens as
/// fast as a short one; the attempts themselves stay with the window.
class AttemptListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit AttemptListModel(QObject *parent = nullptr);

    /// Shows these attempts (oldest first, as matched); the ones that cannot be replayed
    /// (installedProblems decides) in the dimmed brush. The vector must outlive the showing.
    void setAttempts(const std::vector<AttemptEntry> *attempts, int installedProblems,
                     const QBrush &dimmed);
    /// Empties the list, as when the window closes.
    void clear();

    /// The attempt on a row, or null past the end.
    const AttemptEntry *attemptAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const std::vector<AttemptEntry> *m_attempts = nullptr;
    int m_installedProblems = 0;
    QBrush m_dimmed;
};

/// The list's cells, each text measured once: the columns are sized to the rows in view at every
/// layout pass while the window opens, and measuring a text the style's way costs more than
/// drawing it. The list's cells hold nothing but their text, so the text alone decides the size.
class AttemptListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    /// As the style paints a cell, with its text shaped once.
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    void useFont(const QFont &font) const;

    struct ShapedText
    {
        QStaticText text;
        double width = -1;
        double height = -1;
    };
    mutable QHash<QString, QSize> m_sizes;      // for m_font
    mutable QHash<QString, ShapedText> m_texts; // for m_font
    mutable QFont m_font;
};

} // namespace queldo
