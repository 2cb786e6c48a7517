#pragma once
// One run of kovrin-batch: the four tabs of the main window, in their order,
// through the core procedures: data in, cell and calculated reflections,
// automatic selection, refinement, export and reports.
#include "options.h"

#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/dialogue_lambda.h"
#include "interface/etat_principal.h"
#include "profil/fenetre_profil.h"

#include <optional>
#include <string>

namespace kovrin::batch {

// Records every text the commands show, in order, and repeats the boxes on
// standard error as they come; questions (overwriting a file) are answered yes.
class DialoguesBatch : public DialoguesEnregistres {
  public:
    void erreur(const std::string& texte) override;
    void information(const std::string& texte) override;
    void message(const std::string& texte) override;
    int nb_erreurs() const { return static_cast<int>(erreurs().size()); }
};

// The state of the windows that the run fills, and how it ended.
struct Session {
    EspaceTravail espace;
    DialoguesBatch dialogues;
    EtatPrincipal principal;
    EtatFenetreProfil profil;
    MarquesAffinement a_affiner{};
    bool moteur_appele = false;
    std::optional<std::string> statut;            // the engine's status text, once it ran
    std::optional<ResultatIndexation> indexation; // --index
    int code = sortie_succes;
};

// Runs every step the options ask for; a step that fails names its cause on
// standard error and sets the exit status.
void deroule(const OptionsBatch& options, Session& session);

} // namespace kovrin::batch
