#pragma once
// The running program: the workspace, the state of each window, the six
// windows created in their order at start, and the one road of every command:
// through the core's command boundary, then each window shows its part of the
// answer.
#include "commun/dialogues.h"
#include "commun/espace_travail.h"
#include "interface/affichages.h"
#include "interface/commande.h"
#include "interface/diagramme.h"
#include "interface/dialogue_lambda.h"
#include "interface/etat_principal.h"
#include "interface/historique.h"
#include "interface/sauvegarde_auto.h"
#include "profil/fenetre_profil.h"

#include <filesystem>
#include <memory>
#include <vector>

class QWidget;

namespace kovrin::fenetres {

class Tform1;
class Tform6;
class Tfabout;
class TForm7;
class Tflilambda;
class Tfexcel;
class Visionneuse;
class FenetreAide;
class DialogueIndexation;
class FenetreResidus;
class DialoguesQt;
class ChoixFichierQt;

class Programme {
  public:
    // `dialogues` and `choix` replace the message boxes and file dialogs
    // (tests); without them the program uses Qt's.
    explicit Programme(const std::filesystem::path& repertoire, Dialogues* dialogues = nullptr,
                       ChoixFichier* choix = nullptr);
    ~Programme();
    Programme(const Programme&) = delete;
    Programme& operator=(const Programme&) = delete;

    EspaceTravail espace;
    EtatPrincipal principal;
    DialogueLambda lambda;
    EtatDiagramme diagramme;
    EtatFenetreProfil profil;

    Dialogues& dialogues() { return *dialogues_; }
    ChoixFichier& choix() { return *choix_retenu_; }

    Tform1& form1() { return *form1_; }
    Tform6& form6() { return *form6_; }
    Tfabout& fabout() { return *fabout_; }
    TForm7& form7() { return *form7_; }
    Tflilambda& flilambda() { return *flilambda_; }
    Tfexcel& fexcel() { return *fexcel_; }
    FenetreAide& aide();
    DialogueIndexation& indexation();
    // The residual plot, shown in front.
    void montre_residus();
    FenetreResidus& residus();

    // Runs one command and shows its answer; true when it did not fail. A
    // command that changed data can be undone unless `annulable` is false.
    template <typename Commande> bool commande(Commande&& c, bool annulable = true) {
        const Rafraichissement r =
            execute(espace, principal, dialogues(), std::forward<Commande>(c));
        historique_.apres(r, espace, principal, annulable);
        sauve_si_change(r);
        montre(r);
        return !r.echec;
    }
    // Edit > Undo, Redo: the state before the last change, or after the last undone one.
    void annule();
    void refait();
    const Historique& historique() const { return historique_; }
    // From now on the work is saved after each change in `dossier`; the work
    // a crash left there is offered back first.
    void sauve_automatiquement(const std::filesystem::path& dossier);
    const SauvegardeAuto* sauvegarde_auto() const { return sauvegarde_auto_.get(); }
    // The question before the work in no file gives way to another.
    static constexpr const char* question_abandon =
        "Open the project? The work done since the last save or export is in no file "
        "(Edit \u203a Undo brings it back).";
    // True when no work would be lost, or the user accepts to lose it.
    bool abandon_accepte(const std::string& question);
    // The program ends on a command's answer: nothing to ask.
    bool fin_forcee() const { return fin_forcee_; }
    void montre(const Rafraichissement& r);

    // A profile chosen in the open dialog at the filter of format `format`.
    void ouvre_profil(int format);

    // Files given at start or dropped on a window, taken in by their kind:
    // peaks, then profiles, then cells.
    void ouvre_fichiers(const std::vector<std::filesystem::path>& fichiers);
    // File > Open...: any peak, profile or cell file, taken in by its kind.
    void ouvre();

    // A text file in a viewer window of its own.
    void montre_fichier(const std::filesystem::path& fichier);
    // The help window at topic `contexte` (1 ... 5).
    void montre_aide(int contexte);

  private:
    void sauve_si_change(const Rafraichissement& r);

    Historique historique_;
    std::unique_ptr<SauvegardeAuto> sauvegarde_auto_;
    bool fin_forcee_ = false;
    std::unique_ptr<DialoguesQt> dialogues_qt_;
    std::unique_ptr<ChoixFichierQt> choix_qt_;
    Dialogues* dialogues_;
    ChoixFichier* choix_;
    std::unique_ptr<ChoixFichier> choix_retenu_; // remembers the files opened
    std::unique_ptr<Tform1> form1_;
    std::unique_ptr<Tform6> form6_;
    std::unique_ptr<Tfabout> fabout_;
    std::unique_ptr<TForm7> form7_;
    std::unique_ptr<Tflilambda> flilambda_;
    std::unique_ptr<Tfexcel> fexcel_;
    std::unique_ptr<FenetreAide> aide_;
    std::unique_ptr<DialogueIndexation> indexation_;
    std::unique_ptr<FenetreResidus> residus_;
    std::vector<std::unique_ptr<Visionneuse>> visionneuses_;
};

} // namespace kovrin::fenetres
