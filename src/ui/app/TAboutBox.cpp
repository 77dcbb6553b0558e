#include "ui/app/TAboutBox.h"

#include "core/app/StartOptions.h"

#include "ui/common/DialogLook.h"
#include "ui/common/ScreenCentring.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace queldo {

namespace {

// A small drawn icon: a pair of chromosomes, so the program needs no picture file.
QPixmap programIcon()
{
    QPixmap pixmap(60, 60);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 90));
    p.drawRoundedRect(QRectF(16, 6, 11, 48), 5, 5);
    p.drawRoundedRect(QRectF(33, 6, 11, 48), 5, 5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(14, 22, 32, 3));
    return pixmap;
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowFlags(FixedDialogFrame);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(programIcon());
    icon->setFixedSize(60, 60);
    icon->setScaledContents(true);
    auto *product = new QLabel(QStringLiteral("QUELDO"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    auto *version = new QLabel(QStringLiteral("Version ") + programVersion(), panel);
    version->setObjectName(QStringLiteral("Version"));
    auto *comments = new QLabel(QStringLiteral("      染色体解析技術トレーニングソフト"), panel);
    comments->setObjectName(QStringLiteral("Comments"));
    comments->setWordWrap(true);
    // Wide enough for the description on one line: a wrap would cut トレーニング in two.
    comments->setMinimumWidth(comments->fontMetrics().horizontalAdvance(comments->text()) + 2);

    auto *panelLayout = new QGridLayout(panel);
    panelLayout->addWidget(icon, 0, 0, 2, 1);
    panelLayout->addWidget(product, 0, 1);
    panelLayout->addWidget(version, 1, 1);
    panelLayout->addWidget(comments, 2, 0, 1, 2);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());
    centreOnEveryShow(this);
}

} // namespace queldo
