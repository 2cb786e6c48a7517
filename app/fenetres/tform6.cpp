#include "fenetres/tform6.h"

#include "fenetres/peintre.h"
#include "fenetres/programme.h"

#include <QPainter>

namespace kovrin::fenetres {

Tform6::Tform6(Programme& programme) : QWidget(nullptr), p_(programme) {
    setWindowTitle(QStringLiteral("Diagram"));
    setGeometry(0, 456, 1020, 280);
    // Shown whenever the main window is activated: it must not take the activation away.
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void Tform6::montre(const Rafraichissement& r) {
    if (r.redessine) redessine();
}

void Tform6::redessine() {
    update();
}

void Tform6::paintEvent(QPaintEvent*) {
    QPainter peintre(this);
    const DessinDiagramme d =
        dessine_spectre(p_.espace, p_.diagramme, p_.principal.ligne_pic_courante, width(), height());
    peint(peintre, d.dessin, size());
}

} // namespace kovrin::fenetres
