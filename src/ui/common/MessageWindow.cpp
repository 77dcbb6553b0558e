#include "ui/common/MessageWindow.h"

#include "ui/common/DialogLook.h"

#include <QLabel>
#include <QPushButton>
#include <QTextLayout>
#include <QVBoxLayout>

namespace queldo {

namespace {

// Wider lines are broken: a message quoting a long ID or path must still fit on the screen.
constexpr int MaximumLineWidth = 600;

// Breaks at the places the script allows, or anywhere when a word (a path) is wider on its own.
QString wrapped(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList pieces;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(MaximumLineWidth);
        pieces << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return pieces.join(QLatin1Char('\n'));
}

} // namespace

MessageWindow::MessageWindow(const QString &caption, const QStringList &lines, int pixelSize,
                             const QString &buttonText, QWidget *parent)
    : QDialog(parent), m_pixelSize(pixelSize)
{
    setWindowTitle(caption);
    setWindowFlags(FixedDialogFrame);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    m_lineLayout = new QVBoxLayout;
    layout->addLayout(m_lineLayout);

    Button1 = new QPushButton(buttonText, this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setFixedWidth(90);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    layout->addSpacing(12);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);

    setLines(lines);
}

void MessageWindow::setLines(const QStringList &lines)
{
    qDeleteAll(m_lines);
    m_lines.clear();
    m_texts = lines;
    QFont lineFont = font();
    lineFont.setPixelSize(m_pixelSize);
    for (const QString &text : lines) {
        auto *line = new QLabel(wrapped(text, lineFont), this);
        line->setObjectName(QStringLiteral("MessageLine%1").arg(m_lines.size() + 1));
        line->setFont(lineFont);
        m_lineLayout->addWidget(line);
        m_lines << line;
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    setFixedSize(sizeHint());
}

QStringList MessageWindow::lines() const
{
    return m_texts;
}

QStringList MessageWindow::linesOf(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace queldo
