#include "fenetres/pages_principale.h"

#include "fenetres/controles.h"
#include "fenetres/dialogues_qt.h"

#include <algorithm>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVariant>

namespace kovrin::fenetres {

QPushButton* bouton(const QString& texte, Couleur c, QWidget* parent) {
    auto* b = new QPushButton(texte, parent);
    b->setStyleSheet(style_fond(c));
    return b;
}

QToolButton* bouton_image(QStyle::StandardPixmap image, const QString& bulle, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(image));
    b->setIconSize(QSize(32, 32));
    b->setToolTip(bulle);
    b->setAccessibleName(bulle);
    b->setStyleSheet(style_fond({0xAC, 0xFF, 0xFF}));
    return b;
}

QLineEdit* champ(QWidget* parent, bool lecture_seule) {
    auto* e = new QLineEdit(parent);
    if (lecture_seule) fenetres::lecture_seule(*e);
    // Room for the longest number a box shows, "-0.000000", in the font in use.
    const int minimum =
        std::max(60, e->fontMetrics().horizontalAdvance(QStringLiteral("-0.000000")) + 14);
    e->setMinimumWidth(minimum);
    e->setMaximumWidth(std::max(90, minimum));
    return e;
}

QPlainTextEdit* memo(const char* texte, QWidget* parent) {
    auto* m = new QPlainTextEdit(QString::fromUtf8(texte), parent);
    m->setReadOnly(true);
    m->setFocusPolicy(Qt::ClickFocus); // Tab passes the explanations by
    return m;
}

void aide(QWidget* w, int contexte) {
    w->setProperty("contexte_aide", contexte);
}

void montre_saisie(QLineEdit* champ, const std::optional<std::string>& texte) {
    if (texte) champ->setText(qs(*texte));
}

} // namespace kovrin::fenetres
