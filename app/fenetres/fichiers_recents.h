#pragma once
// File > "Recent files": the files last opened, newest first, kept in the
// settings; and the file chooser that adds to them each file it opens.
#include "commun/dialogues.h"

#include <QStringList>

#include <filesystem>

namespace kovrin::fenetres {

inline constexpr int nb_fichiers_recents = 8;

// The files last opened that still exist, newest first.
QStringList fichiers_recents();
void retient_fichier_recent(const std::filesystem::path& fichier);

// Opens through `base` and remembers the file chosen.
class ChoixRetenu : public ChoixFichier {
  public:
    explicit ChoixRetenu(ChoixFichier& base) : base_(base) {}
    std::filesystem::path ouvrir(const std::string& filtre, int index) override;
    std::filesystem::path enregistrer(const std::string& filtre, int index) override {
        return base_.enregistrer(filtre, index);
    }
    std::filesystem::path dossier(const std::filesystem::path& depart) override {
        return base_.dossier(depart);
    }

  private:
    ChoixFichier& base_;
};

} // namespace kovrin::fenetres
