#pragma once
// What the tabs and the side panel of the main window share: the actions of
// the commands that have more than one entry point (menus, buttons, pop-ups),
// and the small builders of their controls.
#include "profil/trace.h"

#include <QString>
#include <QStyle>

#include <array>
#include <optional>
#include <string>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QWidget;

namespace kovrin::fenetres {

// One action per command, shared by the main menu and the tabs' buttons and
// pop-up menus; the main window makes them, the tabs only trigger them.
struct ActionsPrincipales {
    QMenu* ouvre_pics = nullptr;          // pop-up of the peak tab's "File"
    QMenu* ouvre_maille = nullptr;        // pop-up of the cell tab's "File"
    std::array<QAction*, 2> sauve_pics{}; // .dif, .prn
    QAction* sauve_maille = nullptr;
    QAction* resultats = nullptr; // "Print results"
};

inline constexpr Couleur argent{0xC0, 0xC0, 0xC0};

// A push button with its caption on a plain background.
QPushButton* bouton(const QString& texte, Couleur c, QWidget* parent);
// A picture button of the refinement tab, known by its hint.
QToolButton* bouton_image(QStyle::StandardPixmap image, const QString& bulle, QWidget* parent);
// A short number field.
QLineEdit* champ(QWidget* parent, bool lecture_seule = false);
// The read-only explanation at the top of a tab.
QPlainTextEdit* memo(const char* texte, QWidget* parent);
// The help topic F1 opens from `w` and its children.
void aide(QWidget* w, int contexte);
// A field the user left unreadable keeps the user's text.
void montre_saisie(QLineEdit* champ, const std::optional<std::string>& texte);
// `nom` as the object name of `w`, returned for chaining.
template <typename W> W* nomme(W* w, const char* nom) {
    w->setObjectName(QString::fromUtf8(nom));
    return w;
}

} // namespace kovrin::fenetres
