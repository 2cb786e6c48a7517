#include "interface/sauvegarde_auto.h"

#include "commun/fichier_texte.h"
#include "interface/projet.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <string>
#include <system_error>
#include <unistd.h>

namespace kovrin {

namespace {

constexpr std::string_view prefixe = "autosave-", extension = ".kovrin";

bool chiffres(std::string_view t) {
    return !t.empty() && t.size() <= 9 &&
           std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process number in an autosave file's name ("autosave-<process>.kovrin",
// or "autosave-<process>-<k>.kovrin" for the k-th program of one process),
// or nothing for another file.
std::optional<long> processus_du_nom(const std::filesystem::path& f) {
    const std::string nom = f.filename().string();
    if (!nom.starts_with(prefixe) || !nom.ends_with(extension)) return std::nullopt;
    const std::string_view milieu = std::string_view(nom).substr(
        prefixe.size(), nom.size() - prefixe.size() - extension.size());
    const std::string_view processus = milieu.substr(0, milieu.find('-'));
    const std::size_t tiret = milieu.find('-');
    if (!chiffres(processus) || (tiret != milieu.npos && !chiffres(milieu.substr(tiret + 1))))
        return std::nullopt;
    return std::stol(std::string(processus));
}

bool processus_vivant(long processus) {
    return ::kill(static_cast<pid_t>(processus), 0) == 0 || errno == EPERM;
}

std::filesystem::file_time_type date(const std::filesystem::path& f) {
    std::error_code ec;
    return std::filesystem::last_write_time(f, ec);
}

} // namespace

std::filesystem::path nom_sauvegarde_auto(long processus, int rang) {
    const std::string suite = rang > 0 ? "-" + std::to_string(rang) : "";
    return std::string(prefixe) + std::to_string(processus) + suite + std::string(extension);
}

SauvegardeAuto::SauvegardeAuto(std::filesystem::path dossier) {
    static std::atomic<int> programmes = 0;
    std::error_code ec;
    std::filesystem::create_directories(dossier, ec);
    fichier_ = dossier / nom_sauvegarde_auto(::getpid(), programmes++);
}

SauvegardeAuto::~SauvegardeAuto() {
    std::error_code ec;
    std::filesystem::remove(fichier_, ec);
}

void SauvegardeAuto::ecrit(const EspaceTravail& et, const EtatPrincipal& ep) noexcept {
    try {
        EcrivainTexte f(fichier_);
        f.texte(texte_projet(et, ep));
        f.ferme();
    } catch (...) { // NOLINT(bugprone-empty-catch): the old copy stays, the work goes on
    }
}

std::vector<std::filesystem::path> sauvegardes_abandonnees(const std::filesystem::path& dossier) {
    std::vector<std::filesystem::path> fichiers;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dossier, ec)) {
        const std::optional<long> p = processus_du_nom(e.path());
        if (p && !processus_vivant(*p)) fichiers.push_back(e.path());
    }
    std::sort(fichiers.begin(), fichiers.end(),
              [](const auto& a, const auto& b) { return date(a) > date(b); });
    return fichiers;
}

Rafraichissement restaure_sauvegarde(EspaceTravail& et, EtatPrincipal& ep,
                                     const std::filesystem::path& fichier, Dialogues& d) {
    std::error_code ec;
    const Reponse reponse = d.confirmation(question_restauration);
    if (reponse == Reponse::annuler) return {};
    if (reponse == Reponse::non) {
        std::filesystem::remove(fichier, ec);
        return {};
    }
    Rafraichissement r = prend_projet(et, ep, fichier, d);
    if (r.echec) return r;
    std::filesystem::remove(fichier, ec);
    r.ecrit = false; // the work is in no file of the user's
    return r;
}

} // namespace kovrin
