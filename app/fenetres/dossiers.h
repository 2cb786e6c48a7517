#pragma once
// The program's own folders: the working folder used when started from the
// desktop (changeable in Options, kept in the settings) and the folder of the
// automatic saves.
#include <filesystem>

class QMainWindow;

namespace kovrin::fenetres {

class Programme;

// ~/.local/share/kovrin by the XDG rules, or the folder chosen in Options.
std::filesystem::path repertoire_propre();
// ~/.local/share/kovrin: the automatic saves stay there whatever the choice.
std::filesystem::path dossier_sauvegardes_auto();

// Options > "Working folder...": the results go to the folder chosen, now and
// at the next start from the desktop.
void ajoute_menu_options(QMainWindow& fenetre, Programme& p);

} // namespace kovrin::fenetres
