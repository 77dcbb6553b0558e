#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace queldo {

/// A small modal message: a few lines of large text and one button that closes it. Never ends
/// the program when closed, even while every other window is hidden.
class MessageWindow : public QDialog
{
    Q_OBJECT
public:
    MessageWindow(const QString &caption, const QStringList &lines, int pixelSize,
                  const QString &buttonText, QWidget *parent = nullptr);

    /// Replaces the text, one label per line, and fits the window to it. A line too wide for the
    /// screen is broken within its label.
    void setLines(const QStringList &lines);
    /// The lines as given, before any breaking.
    QStringList lines() const;
    /// A message text broken at its line feeds, empty lines left out.
    static QStringList linesOf(const QString &text);

private:
    // Found by their object names from outside.
    QPushButton *Button1 = nullptr;

    QVBoxLayout *m_lineLayout = nullptr;
    QList<QLabel *> m_lines;
    QStringList m_texts;
    int m_pixelSize;
};

} // namespace queldo
