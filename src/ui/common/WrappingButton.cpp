#include "ui/common/WrappingButton.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace queldo {

namespace {

constexpr int SmallestPixelSize = 6;
constexpr int CaptionMargin = 3;

bool isKana(QChar c)
{
    return c.unicode() >= 0x3040 && c.unicode() <= 0x30FF;
}

bool isKanji(QChar c)
{
    return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
}

// Where a Japanese caption may break without cutting a word: at a space, before an opening
// bracket, and where kana give way to a kanji (継続して|修正しますか). Never inside a number.
bool mayBreakBefore(const QString &text, int i)
{
    const QChar before = text.at(i - 1);
    const QChar at = text.at(i);
    return before.isSpace() || at == QLatin1Char('(') || at == QChar(0xFF08) ||
           (isKana(before) && isKanji(at));
}

// The words of a line: runs that are never broken.
QStringList wordsOf(const QString &paragraph)
{
    QStringList words;
    int start = 0;
    for (int i = 1; i < paragraph.size(); ++i) {
        // A leading space stays with the first word rather than make a line of its own.
        if (mayBreakBefore(paragraph, i) && !paragraph.left(i).trimmed().isEmpty()) {
            words << paragraph.mid(start, i - start);
            start = i;
        }
    }
    words << paragraph.mid(start);
    return words;
}

// Greedy filling: each line takes as many whole words as fit, or, with byCharacter, as many
// characters. A word wider than the box is left whole, to be caught by the caller.
QStringList wrap(const QString &text, const QFontMetrics &metrics, int width, bool byCharacter)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QStringList pieces;
        if (byCharacter) {
            for (const QChar c : paragraph)
                pieces << QString(c);
        } else {
            pieces = wordsOf(paragraph);
        }
        QString line;
        for (const QString &piece : pieces) {
            if (!line.isEmpty() && metrics.horizontalAdvance(line + piece) > width) {
                lines << line;
                line.clear();
            }
            line += piece;
        }
        lines << line;
    }
    return lines;
}

} // namespace

FittedCaption fitCaption(const QString &text, const QFont &font, QSize box)
{
    QFont candidate = font;
    int pixelSize = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    for (;; --pixelSize) {
        candidate.setPixelSize(pixelSize);
        const QFontMetrics metrics(candidate);
        // Broken between characters only as a last resort, when whole words no longer fit even
        // in the smallest font: a cut word still beats a clipped one.
        const bool last = pixelSize <= SmallestPixelSize;
        const QStringList lines = wrap(text, metrics, box.width(), last);
        bool fits = lines.size() * metrics.height() <= box.height();
        for (const QString &line : lines)
            fits = fits && metrics.horizontalAdvance(line) <= box.width();
        if (fits || last)
            return {candidate, lines};
    }
}

WrappingButton::WrappingButton(QWidget *parent) : QPushButton(parent) {}

QRect WrappingButton::captionRect() const
{
    return rect().adjusted(CaptionMargin, CaptionMargin, -CaptionMargin, -CaptionMargin);
}

FittedCaption WrappingButton::fittedCaption() const
{
    return fitCaption(text(), font(), captionRect().size());
}

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const FittedCaption caption = fittedCaption();
    painter.setFont(caption.font);
    const QFontMetrics metrics(caption.font);
    const QRect box = captionRect();
    int y = box.top() + (box.height() - int(caption.lines.size()) * metrics.height()) / 2;
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    for (const QString &line : caption.lines) {
        painter.drawText(QRect(box.left(), y, box.width(), metrics.height()),
                         Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += metrics.height();
    }
}

} // namespace queldo
