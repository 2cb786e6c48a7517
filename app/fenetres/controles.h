#pragma once
// Small builders shared by the windows: picture buttons known by their
// hints, the up-down arrows, coloured backgrounds, the files dropped on a
// window, and the fields parsed as typed.
#include "commun/nombres.h"
#include "profil/trace.h"

#include <QString>
#include <QStyle>

#include <filesystem>
#include <functional>
#include <map>
#include <vector>

class QLineEdit;
class QMenu;
class QMimeData;
class QSpinBox;
class QToolButton;
class QWidget;

namespace kovrin::fenetres {

// The style sheet of a plain background in colour `c`.
QString style_fond(Couleur c);

// A button showing `texte`, or the style's picture `image` when `texte` is
// empty, with its hint (also its accessible name).
QToolButton* bouton_bulle(const QString& texte, QStyle::StandardPixmap image, const QString& bulle,
                          QWidget* parent);

// Up-down arrows over [minimum, maximum] by `pas`, at `depart`, with a hint.
QSpinBox* fleches(int minimum, int maximum, int pas, int depart, const QString& bulle,
                  QWidget* parent);

// One entry per row of the profile-format table, each calling `ouvre` with the
// row's code: a window's own captions (by code) for the formats it always
// offered, the table's filter text for the others.
void ajoute_formats_profil(QMenu& menu, const std::map<int, const char*>& legendes,
                           const std::function<void(int)>& ouvre);

// What the user types in `champ` is parsed into `valeur` as typed (the
// program's own writes into the field leave the value alone).
void suit_saisie(QLineEdit& champ, Saisie& valeur);
// What the user typed in `champ`, parsed once as they leave it or press Enter,
// handed to `prend`; nothing when they typed nothing since the last time.
void sur_saisie_finie(QLineEdit& champ, std::function<void(const Saisie&)> prend);

// A box the user reads but does not type in: Tab passes it by; a click still
// selects its text for copying.
void lecture_seule(QLineEdit& boite);
// Escape closes `fenetre`, as it closes a dialog.
void ferme_par_echap(QWidget& fenetre);
// The window comes back with the size and place it was left with (settings
// key `cle`), saved each time it is hidden or closed; true when a saved
// geometry was restored.
bool retient_geometrie(QWidget& fenetre, const QString& cle);

// The local files of a drag and drop.
std::vector<std::filesystem::path> fichiers_deposes(const QMimeData& donnees);

} // namespace kovrin::fenetres
