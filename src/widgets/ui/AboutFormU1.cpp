#include "AboutFormU1.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int PictureSize = 48;

// The application icon, drawn here because the icon file is a vector picture: a blue card with
// an outline of three levels, each item a coloured square followed by a white title bar.
QPixmap programPicture()
{
    QPixmap picture(PictureSize, PictureSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QPainterPath card;
    card.addRoundedRect(QRectF(2, 2, 44, 44), 8, 8);
    p.fillPath(card, QColor(0x35, 0x55, 0x8f));
    p.save();
    p.setClipPath(card);
    p.fillRect(QRectF(2, 2, 44, 22), QColor(0x44, 0x69, 0xa8));
    p.restore();

    p.setPen(QPen(QColor(0xdf, 0xe7, 0xf5), 2, Qt::SolidLine, Qt::SquareCap));
    p.drawPolyline(QPolygonF({QPointF(11.5, 15), QPointF(11.5, 38), QPointF(15, 38)}));
    p.drawLine(QPointF(11.5, 20), QPointF(15, 20));
    p.drawPolyline(QPolygonF({QPointF(18, 23), QPointF(18, 29), QPointF(22, 29)}));
    p.setPen(Qt::NoPen);

    struct Item
    {
        QRectF square;
        QColor colour;
        QRectF title;
    };
    const Item items[] = {
        {{8, 7.5, 7, 7}, QColor(0xff, 0xd4, 0x5e), {18, 9, 22, 4}},
        {{15, 17, 6, 6}, QColor(0xff, 0x9f, 0xb8), {24, 18, 16, 4}},
        {{22, 26, 6, 6}, QColor(0x9f, 0xd8, 0x8a), {31, 27, 9, 4}},
        {{15, 35, 6, 6}, QColor(0xff, 0x9f, 0xb8), {24, 36, 16, 4}},
    };
    for (const Item &item : items) {
        p.setBrush(item.colour);
        p.drawRoundedRect(item.square, 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRoundedRect(item.title, 2, 2);
    }
    return picture;
}
} // namespace

TAboutForm::TAboutForm(QWidget *parent)
    : TAboutForm(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                             | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
}

TAboutForm::TAboutForm(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    build();
}

QString TAboutForm::versionText()
{
    return QStringLiteral("Version " OLVEK_VERSION);
}

void TAboutForm::build()
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(programPicture());
    ProgramIcon->setFixedSize(PictureSize, PictureSize);

    auto *name = new QLabel(QStringLiteral("OLVEK(おるべく)"), this);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.3);
    name->setFont(nameFont);

    Version = new QLabel(versionText(), this);
    Version->setObjectName(QStringLiteral("Version"));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(Version);
    texts->addStretch(1);
    auto *top = new QHBoxLayout;
    top->addWidget(ProgramIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
