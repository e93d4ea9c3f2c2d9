#include "app/frmabout.h"
#include "ui/slotguard.h"

#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace perlinex {

QPixmap stampPicture(int width) {
    const int height = width * 5 / 4;
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // The paper, with half-round holes cut along every edge as a sheet is torn apart.
    const qreal hole = width / 26.0;
    const QRectF paper(hole, hole, width - 2 * hole, height - 2 * hole);
    QPainterPath shape;
    shape.addRect(paper);
    const auto perforate = [&](QPointF from, QPointF to) {
        const int count = std::max(2, int(QLineF(from, to).length() / (3 * hole)));
        for (int i = 1; i < count; ++i) {
            QPainterPath circle;
            circle.addEllipse(from + (to - from) * (qreal(i) / count), hole, hole);
            shape = shape.subtracted(circle);
        }
    };
    perforate(paper.topLeft(), paper.topRight());
    perforate(paper.bottomLeft(), paper.bottomRight());
    perforate(paper.topLeft(), paper.bottomLeft());
    perforate(paper.topRight(), paper.bottomRight());
    p.fillPath(shape, QColor(0xfb, 0xf7, 0xec));
    p.strokePath(shape, QPen(QColor(0x9a, 0x94, 0x88), 1));

    // The printed design: a framed scene with the program's name and a face value.
    const qreal margin = width * 0.12;
    const QRectF frame = paper.adjusted(margin, margin, -margin, -margin);
    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0, QColor(0x2c, 0x5a, 0x86));
    sky.setColorAt(1, QColor(0x7d, 0xa9, 0xcf));
    p.fillRect(frame, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.drawEllipse(QPointF(frame.center().x(), frame.top() + frame.height() * 0.38),
                  frame.width() * 0.17, frame.width() * 0.17);
    QPainterPath hills;
    hills.moveTo(frame.left(), frame.top() + frame.height() * 0.72);
    hills.quadTo(frame.left() + frame.width() * 0.3, frame.top() + frame.height() * 0.52,
                 frame.center().x(), frame.top() + frame.height() * 0.68);
    hills.quadTo(frame.left() + frame.width() * 0.75, frame.top() + frame.height() * 0.8,
                 frame.right(), frame.top() + frame.height() * 0.6);
    hills.lineTo(frame.bottomRight());
    hills.lineTo(frame.bottomLeft());
    hills.closeSubpath();
    p.fillPath(hills, QColor(0x3f, 0x7a, 0x45));

    const QRectF band(frame.left(), frame.bottom() - frame.height() * 0.2, frame.width(),
                      frame.height() * 0.2);
    p.fillRect(band, QColor(0x8a, 0x2c, 0x2c));
    QFont font;
    font.setBold(true);
    font.setPixelSize(std::max(6, int(band.height() * 0.55)));
    p.setFont(font);
    p.setPen(QColor(0xfb, 0xf7, 0xec));
    p.drawText(band, Qt::AlignCenter, QStringLiteral("PERLINEX"));
    font.setPixelSize(std::max(6, int(frame.height() * 0.14)));
    p.setFont(font);
    p.drawText(frame.adjusted(width * 0.04, width * 0.02, 0, 0), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("5"));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xfb, 0xf7, 0xec), std::max(1.0, width / 90.0)));
    p.drawRect(frame.adjusted(width * 0.025, width * 0.025, -width * 0.025, -width * 0.025));
    return pixmap;
}

QIcon programIcon() {
    return QIcon(QStringLiteral(":/icons/perlinex.svg"));
}

QString programVersion() {
    return QStringLiteral(PERLINEX_VERSION);
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Perlinex"));
    setModal(false);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picStamp"));
    picture->setPixmap(stampPicture(96));
    picture->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("Perlinex"), this);
    name->setObjectName(QStringLiteral("lblTitle"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(tr("Version %1").arg(programVersion()), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* description =
        new QLabel(tr("Perlinex catalogues a postage-stamp collection: one record per stamp "
                      "with its prices, dates, classifications and picture, code tables to "
                      "classify by, a search, and fixed and self-designed reports."),
                   this);
    description->setObjectName(QStringLiteral("lblDescription"));
    description->setWordWrap(true);
    description->setMinimumWidth(300);

    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setDefault(true);
    connectGuarded(ok, &QPushButton::clicked, this, &QWidget::close);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(description);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

frmAbout* showAbout(QWidget* parent) {
    static QPointer<frmAbout> open;
    if (!open || open->parentWidget() != parent) {
        if (open)
            open->close();
        open = new frmAbout(parent);
        open->setAttribute(Qt::WA_DeleteOnClose);
    }
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}

} // namespace perlinex
