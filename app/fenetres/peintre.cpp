#include "fenetres/peintre.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <utility>

namespace kovrin::fenetres {

namespace {

QPoint point_qt(Point p) {
    return {p.x, p.y};
}

void peint_texte(QPainter& peintre, const TexteTrace& t) {
    QFont police = peintre.font();
    police.setPointSize(t.taille_police);
    peintre.setFont(police);
    const QString texte = QString::fromStdString(t.texte);
    const QFontMetrics mesure(police);
    const QRect cadre(t.coin.x, t.coin.y, mesure.horizontalAdvance(texte), mesure.height());
    if (t.fond) peintre.fillRect(cadre, couleur_qt(*t.fond));
    peintre.setPen(couleur_qt(t.couleur));
    peintre.drawText(cadre, Qt::AlignLeft | Qt::AlignTop, texte);
}

} // namespace

QColor couleur_qt(Couleur c) {
    return QColor(c.r, c.g, c.b);
}

void peint(QPainter& peintre, const Dessin& dessin, QSize taille) {
    peintre.fillRect(QRect(QPoint(0, 0), taille), couleur_qt(dessin.fond));
    for (const Polyligne& courbe : dessin.courbes) {
        QPolygon points;
        for (Point p : courbe.points)
            points << point_qt(p);
        peintre.setPen(couleur_qt(courbe.couleur));
        peintre.drawPolyline(points);
    }
    for (const Segment& s : dessin.segments) {
        peintre.setPen(couleur_qt(s.couleur));
        peintre.drawLine(point_qt(s.debut), point_qt(s.fin));
    }
    for (const TexteTrace& t : dessin.textes)
        peint_texte(peintre, t);
}

QString grec(const std::string& texte_symboles) {
    QString resultat = QString::fromStdString(texte_symboles);
    const std::pair<char16_t, char16_t> lettres[] = {{u'q', 0x03B8}, {u'D', 0x0394}, {u'l', 0x03BB},
                                                     {u'a', 0x03B1}, {u'b', 0x03B2}, {u'g', 0x03B3}};
    for (const auto& [latine, grecque] : lettres)
        resultat.replace(QChar(latine), QChar(grecque));
    return resultat;
}

} // namespace kovrin::fenetres
