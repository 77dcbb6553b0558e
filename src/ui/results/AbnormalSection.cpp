#include "ui/results/AbnormalSection.h"

#include "core/results/AbnormalAttemptsFile.h"
#include "core/results/AbnormalStatistics.h"
#include "ui/common/DialogLook.h"

namespace queldo {

AbnormalSection::AbnormalSection(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("AbnormalSection"));
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Sunken);
    setMargin(4);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setFontPixelSize(this, 12);
    hide();
}

void AbnormalSection::refresh(const QString &attemptsPath, int width)
{
    const AbnormalAttemptsFile::ReadResult read = AbnormalAttemptsFile::read(attemptsPath);
    QStringList lines;
    if (!read.ok()) {
        lines = read.error.split(u'\n');
    } else {
        lines = AbnormalStatistics::compute(read.attempts).report();
        if (!lines.isEmpty() && !read.damagedLines.empty())
            lines.first() +=
                QStringLiteral(" (読めない %1 行を除く)").arg(read.damagedLines.size());
    }
    if (lines.isEmpty()) {
        hide();
        return;
    }
    setText(lines.join(u'\n'));
    setStyleSheet(read.ok() ? QString() : QStringLiteral("color: #C00000"));
    setFixedWidth(width);
    setFixedHeight(heightForWidth(width));
    show();
}

} // namespace queldo
