#pragma once
// Draws a drawing list of the core on a QPainter: the picture is cleared to
// its background, then its curves, segments and texts are drawn in order.
#include "profil/trace.h"

#include <QColor>
#include <QSize>
#include <QString>

class QPainter;

namespace kovrin::fenetres {

QColor couleur_qt(Couleur c);

void peint(QPainter& peintre, const Dessin& dessin, QSize taille);

// The symbol-font texts of the program ("2q1 =", "2Dq", "l") with the Greek
// letters they show: q theta, D Delta, l lambda, a alpha, b beta, g gamma.
QString grec(const std::string& texte_symboles);

} // namespace kovrin::fenetres
