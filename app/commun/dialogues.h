#pragma once
// The one interface between the core and the user. Windows implement it with
// message boxes; tests and the command-line tool record what was said.
#include <filesystem>
#include <string>
#include <vector>

namespace kovrin {

enum class Reponse { oui, non, annuler };

class Dialogues {
  public:
    virtual ~Dialogues() = default;
    virtual void erreur(const std::string& texte) = 0;          // modal error box
    virtual void information(const std::string& texte) = 0;     // information box
    virtual void message(const std::string& texte) = 0;         // plain box, no icon
    virtual Reponse confirmation(const std::string& texte) = 0; // yes / no / cancel
    virtual void bip() = 0;
    virtual void curseur_occupe(bool occupe) = 0;
    // Shows a text file in the desktop's viewer; nothing is reported when none starts.
    virtual void ouvre_visionneuse(const std::filesystem::path& fichier) = 0;
};

// The open and save dialogs. A filter lists "Caption|*.ext" pairs joined by
// "|"; `index` (from 1) is the pair shown first. An empty path means the user
// cancelled. The save dialog asks nothing about existing files: the command
// asks its own question.
class ChoixFichier {
  public:
    virtual ~ChoixFichier() = default;
    virtual std::filesystem::path ouvrir(const std::string& filtre, int index) = 0;
    virtual std::filesystem::path enregistrer(const std::string& filtre, int index) = 0;
    // A folder, the chooser opened at `depart`.
    virtual std::filesystem::path dossier(const std::filesystem::path& depart) = 0;
};

// Answers every dialog with a set path and records what was asked.
class ChoixFichierEnregistre : public ChoixFichier {
  public:
    struct Demande {
        bool enregistrement = false;
        std::string filtre;
        int index = 0;
    };
    std::filesystem::path ouvrir(const std::string& filtre, int index) override {
        demandes.push_back({false, filtre, index});
        return reponse;
    }
    std::filesystem::path enregistrer(const std::string& filtre, int index) override {
        demandes.push_back({true, filtre, index});
        return reponse;
    }
    std::filesystem::path dossier(const std::filesystem::path& depart) override {
        demandes.push_back({false, "folder " + depart.string(), 0});
        return reponse;
    }

    std::filesystem::path reponse;
    std::vector<Demande> demandes;
};

// Busy cursor for the length of a scope.
class CurseurOccupe {
  public:
    explicit CurseurOccupe(Dialogues& d) : d_(d) { d_.curseur_occupe(true); }
    ~CurseurOccupe() { d_.curseur_occupe(false); }
    CurseurOccupe(const CurseurOccupe&) = delete;
    CurseurOccupe& operator=(const CurseurOccupe&) = delete;

  private:
    Dialogues& d_;
};

// Records every message in order; answers confirmations with a set answer.
class DialoguesEnregistres : public Dialogues {
  public:
    struct Entree {
        std::string
            genre; // "erreur", "information", "message", "confirmation", "bip", "visionneuse"
        std::string texte;
    };

    void erreur(const std::string& texte) override { note("erreur", texte); }
    void information(const std::string& texte) override { note("information", texte); }
    void message(const std::string& texte) override { note("message", texte); }
    Reponse confirmation(const std::string& texte) override {
        note("confirmation", texte);
        return reponse;
    }
    void bip() override { note("bip", ""); }
    void curseur_occupe(bool) override {}
    void ouvre_visionneuse(const std::filesystem::path& fichier) override {
        note("visionneuse", fichier.string());
    }

    // Texts of every box shown (errors, information, plain messages, questions).
    std::vector<std::string> textes() const;
    std::vector<std::string> erreurs() const;
    bool a_dit(const std::string& texte) const;
    int nb_bips() const;
    void vide() { journal.clear(); }

    Reponse reponse = Reponse::oui;
    std::vector<Entree> journal;

  private:
    void note(const char* genre, const std::string& texte) { journal.push_back({genre, texte}); }
};

} // namespace kovrin
