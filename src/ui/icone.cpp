#include "icone.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

// data/icones/ch.kalvo.Kalvo.svg repeats this drawing for the desktop's icon theme: change both together.
QPixmap dessine_icone(int taille, qreal echelle) {
    QPixmap image(QSize(taille, taille) * echelle);
    image.setDevicePixelRatio(echelle);
    image.fill(Qt::transparent);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(taille / 32.0, taille / 32.0); // drawn on a 32 × 32 grid

    QLinearGradient fond(0, 0, 0, 32);
    fond.setColorAt(0, QColor(0x2f, 0x6f, 0xc4));
    fond.setColorAt(1, QColor(0x17, 0x3e, 0x7a));
    p.setPen(QPen(QColor(0x10, 0x2c, 0x58), 0.8));
    p.setBrush(fond);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);

    // The coin: the charge.
    p.setPen(QPen(QColor(0x9c, 0x6b, 0x00), 1.0));
    p.setBrush(QColor(0xf6, 0xc4, 0x2c));
    p.drawEllipse(QPointF(21.5, 21.5), 7.5, 7.5);
    p.setPen(QPen(QColor(0x9c, 0x6b, 0x00), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath franc;
    franc.moveTo(23.5, 17.8);
    franc.lineTo(19.8, 17.8);
    franc.lineTo(19.8, 25.5);
    franc.moveTo(19.8, 21.4);
    franc.lineTo(22.8, 21.4);
    franc.moveTo(18.2, 23.6);
    franc.lineTo(22.0, 23.6);
    p.setBrush(Qt::NoBrush);
    p.drawPath(franc);

    // The handset: an arc with an ear piece and a mouth piece.
    QPainterPath combine;
    combine.moveTo(5.0, 12.5);
    combine.cubicTo(5.0, 7.0, 9.0, 4.5, 16.0, 4.5);
    combine.cubicTo(23.0, 4.5, 27.0, 7.0, 27.0, 12.5);
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(combine);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2.8, 10.5, 6.4, 4.2), 1.6, 1.6);
    p.drawRoundedRect(QRectF(22.8, 10.5, 6.4, 4.2), 1.6, 1.6);
    p.end();
    return image;
}

namespace {

// Draws the icon at the size asked when it is asked: nothing before a window, the tray or the desktop needs
// it, and only the sizes they need.
class moteur_icone final : public QIconEngine {
public:
    QPixmap pixmap(const QSize& taille, QIcon::Mode, QIcon::State) override {
        return dessine_icone(std::min(taille.width(), taille.height()));
    }
    void paint(QPainter* peintre, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const int cote = std::min(rect.width(), rect.height());
        peintre->drawPixmap(rect, dessine_icone(cote, peintre->device()->devicePixelRatio()));
    }
    QIconEngine* clone() const override { return new moteur_icone; }
};

} // namespace

QIcon icone_kalvo() {
    return QIcon(new moteur_icone);
}
