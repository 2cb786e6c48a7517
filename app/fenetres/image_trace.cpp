#include "fenetres/image_trace.h"

#include "fenetres/peintre.h"

#include <QMouseEvent>
#include <QPainter>

namespace kovrin::fenetres {

namespace {

std::optional<BoutonSouris> bouton_de(Qt::MouseButton b) {
    if (b == Qt::LeftButton) return BoutonSouris::gauche;
    if (b == Qt::RightButton) return BoutonSouris::droit;
    return std::nullopt;
}

Point point_de(const QMouseEvent& e) {
    const QPoint p = e.position().toPoint();
    return {p.x(), p.y()};
}

} // namespace

ImageTrace::ImageTrace(std::function<Dessin(int, int)> dessin, QWidget* parent)
    : QWidget(parent), dessin_(std::move(dessin)) {
    setMouseTracking(true); // the read-out follows the pointer with no button held
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(100, 80);
}

void ImageTrace::redessine() {
    perimee_ = true;
    update();
}

void ImageTrace::actualise() {
    const qreal ratio = devicePixelRatioF();
    if (!perimee_ && image_.size() == size() * ratio) return;
    image_ = QPixmap(size() * ratio);
    image_.setDevicePixelRatio(ratio);
    QPainter peintre(&image_);
    peint(peintre, dessin_(width(), height()), size());
    perimee_ = false;
}

void ImageTrace::marques(std::optional<Segment> curseur, std::optional<Rectangle> elastique) {
    curseur_ = curseur;
    elastique_ = elastique;
    update();
}

void ImageTrace::paintEvent(QPaintEvent*) {
    actualise();
    QPainter peintre(this);
    peintre.drawPixmap(0, 0, image_);
    if (curseur_) {
        peintre.setPen(couleur_qt(curseur_->couleur));
        peintre.drawLine(curseur_->debut.x, curseur_->debut.y, curseur_->fin.x, curseur_->fin.y);
    }
    if (elastique_) {
        peintre.setPen(couleur_qt(elastique_->couleur));
        peintre.setBrush(Qt::NoBrush);
        const Point a = elastique_->coin1, b = elastique_->coin2;
        peintre.drawRect(QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)).normalized());
    }
}

void ImageTrace::mousePressEvent(QMouseEvent* e) {
    if (const auto b = bouton_de(e->button()); b && sur_appui) sur_appui(*b, point_de(*e));
}

void ImageTrace::mouseMoveEvent(QMouseEvent* e) {
    if (sur_mouvement) sur_mouvement(point_de(*e));
}

void ImageTrace::mouseReleaseEvent(QMouseEvent* e) {
    if (const auto b = bouton_de(e->button()); b && sur_relache) sur_relache(*b, point_de(*e));
}

void ImageTrace::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    if (sur_sortie) sur_sortie();
}

} // namespace kovrin::fenetres
