#include "fenetres/tform7.h"

#include "fenetres/programme.h"

namespace kovrin::fenetres {

TForm7::TForm7(Programme& programme) : QWidget(nullptr), p_(programme) {
    setWindowTitle(QStringLiteral("Measure the reflection angles on the diagram"));
    setGeometry(0, 60, 1020, 600);
}

void TForm7::montre(const Rafraichissement& r) {
    if (r.ferme_fenetre_profil) hide();
}

} // namespace kovrin::fenetres
