#include "bouton_image.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr int taille_image = 16;

QPixmap dessine_corbeille(qreal echelle) {
    QPixmap image(QSize(taille_image, taille_image) * echelle);
    image.setDevicePixelRatio(echelle);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor trait(0x30, 0x30, 0x30);
    p.setPen(QPen(trait, 1.0));
    p.setBrush(QColor(0xb8, 0x3a, 0x2e));
    QPainterPath corps;
    corps.moveTo(3.5, 4.5);
    corps.lineTo(12.5, 4.5);
    corps.lineTo(11.5, 15.0);
    corps.lineTo(4.5, 15.0);
    corps.closeSubpath();
    p.drawPath(corps);
    p.drawRect(QRectF(2.0, 2.5, 12.0, 2.0)); // lid
    p.drawRect(QRectF(6.0, 0.8, 4.0, 1.7));  // handle
    p.setPen(QPen(QColor(0xf2, 0xd0, 0xc8), 1.0));
    for (qreal x : {6.5, 8.0, 9.5}) {
        p.drawLine(QPointF(x, 6.5), QPointF(x, 13.0));
    }
    return image;
}

} // namespace

QIcon image_suppression() {
    QIcon icone;
    for (qreal echelle : {1.0, 1.5, 2.0, 3.0}) {
        icone.addPixmap(dessine_corbeille(echelle));
    }
    return icone;
}

bouton_image::bouton_image(const QString& texte, const QIcon& image, QWidget* parent)
    : QPushButton(texte, parent), image_(image) {}

void bouton_image::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString texte = option.text;
    option.text.clear();
    option.icon = QIcon();
    p.drawControl(QStyle::CE_PushButtonBevel, option);

    const int hauteur_texte = fontMetrics().height();
    const int bloc = hauteur_texte + 4 + taille_image;
    const int haut = (height() - bloc) / 2;
    const QRect zone_texte(0, haut, width(), hauteur_texte);
    p.drawItemText(zone_texte, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), texte,
                   QPalette::ButtonText);
    const QPixmap image =
        image_.pixmap(QSize(taille_image, taille_image), devicePixelRatioF(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
    p.drawPixmap((width() - taille_image) / 2, haut + hauteur_texte + 4, image);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
