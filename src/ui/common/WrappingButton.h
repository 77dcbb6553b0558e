#pragma once

#include <QFont>
#include <QPushButton>
#include <QStringList>

namespace queldo {

/// A caption laid out to fit a box: the lines as drawn and the font they are drawn in.
struct FittedCaption
{
    QFont font;
    QStringList lines;
};

/// Breaks text at its line feeds and, where a line is too wide, between words (at spaces,
/// before a bracket, where kana give way to a kanji: Japanese has few spaces to break at),
/// shrinking the font until every line fits the box. At 6 pixels it gives up shrinking and
/// breaks between any two characters: the caption then fits as well as it can.
FittedCaption fitCaption(const QString &text, const QFont &font, QSize box);

/// A push button whose caption wraps and shrinks to stay readable inside the button, since
/// QPushButton draws one line per line feed and clips the rest.
class WrappingButton : public QPushButton
{
    Q_OBJECT
public:
    explicit WrappingButton(QWidget *parent = nullptr);
    /// The caption as it is drawn at the button's present size.
    FittedCaption fittedCaption() const;
    /// Where the caption is drawn inside the button.
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace queldo
