#pragma once
// The user's side of the core's Dialogues and ChoixFichier: message boxes,
// the beep, the busy cursor, the text viewer, and the open and save dialogs.
#include "commun/dialogues.h"

#include <QString>

#include <filesystem>
#include <functional>

class QWidget;

namespace kovrin::fenetres {

class DialoguesQt : public Dialogues {
  public:
    // `visionneuse` shows a text file in the program's viewer window.
    explicit DialoguesQt(std::function<void(const std::filesystem::path&)> visionneuse);

    void erreur(const std::string& texte) override;
    void information(const std::string& texte) override;
    void message(const std::string& texte) override;
    Reponse confirmation(const std::string& texte) override;
    void bip() override;
    void curseur_occupe(bool occupe) override;
    void ouvre_visionneuse(const std::filesystem::path& fichier) override;

  private:
    std::function<void(const std::filesystem::path&)> visionneuse_;
};

// The filter "Caption|*.ext|..." of the program as Qt writes it: "Caption
// (*.ext);;...", the pattern added to a caption that does not show it.
QString filtre_qt(const std::string& filtre);
// The caption of entry `index` (from 1) of such a filter, as filtre_qt writes it.
QString entree_filtre_qt(const std::string& filtre, int index);

class ChoixFichierQt : public ChoixFichier {
  public:
    std::filesystem::path ouvrir(const std::string& filtre, int index) override;
    std::filesystem::path enregistrer(const std::string& filtre, int index) override;
    std::filesystem::path dossier(const std::filesystem::path& depart) override;
};

// Texts of the core (UTF-8) and file names.
QString qs(const std::string& texte);
std::string texte(const QString& qt);
std::filesystem::path chemin(const QString& qt);
QString qs_chemin(const std::filesystem::path& fichier);

} // namespace kovrin::fenetres
