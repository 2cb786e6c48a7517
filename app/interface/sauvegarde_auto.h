#pragma once
// The work saved after each command that changed it, one project file per
// running program in the user's own folder, so that a crash loses at most the
// command that was running. A clean end removes the file; a file whose program
// is no longer running is what a crash left behind.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/etat_principal.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace kovrin {

class SauvegardeAuto {
  public:
    // The file of this program (its process number) in `dossier`, created if needed.
    explicit SauvegardeAuto(std::filesystem::path dossier);
    ~SauvegardeAuto(); // the clean end: the file goes
    SauvegardeAuto(const SauvegardeAuto&) = delete;
    SauvegardeAuto& operator=(const SauvegardeAuto&) = delete;

    // Written atomically; a folder that cannot be written costs the
    // safety net, never the command.
    void ecrit(const EspaceTravail& et, const EtatPrincipal& ep) noexcept;
    const std::filesystem::path& fichier() const { return fichier_; }

  private:
    std::filesystem::path fichier_;
};

// The file name of the program numbered `processus` (the `rang`-th of that process).
std::filesystem::path nom_sauvegarde_auto(long processus, int rang = 0);
// The files of `dossier` left by programs that are no longer running, newest first.
std::vector<std::filesystem::path> sauvegardes_abandonnees(const std::filesystem::path& dossier);

inline constexpr const char* question_restauration =
    "KOVRIN ended without closing last time. Restore the work it had (it is in no file)?";

// At start: the work a crash left, offered back. Yes takes it in (as work
// not yet saved) and removes the file; No removes it; Cancel keeps it for
// the next start, as does a file that cannot be read (named).
Rafraichissement restaure_sauvegarde(EspaceTravail& et, EtatPrincipal& ep,
                                     const std::filesystem::path& fichier, Dialogues& d);

} // namespace kovrin
