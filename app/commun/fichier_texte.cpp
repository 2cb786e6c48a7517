#include "commun/fichier_texte.h"

#include "commun/erreur.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <exception>
#include <fstream>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovrin {

std::string message_erreur_fichier(const std::filesystem::path& chemin, std::string_view quoi) {
    return "File " + chemin.string() + ": " + std::string(quoi);
}

namespace {

// Lines are gathered up to this size before they go to the file.
constexpr std::size_t taille_tampon = 1 << 16;

bool ecrit_tout(int fichier, std::string_view octets) {
    while (!octets.empty()) {
        const ssize_t n = ::write(fichier, octets.data(), octets.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        octets.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file a path names: a symbolic link's target is replaced, not the link.
std::filesystem::path cible_de(const std::filesystem::path& chemin) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(chemin, ec)) return chemin;
    const auto cible = std::filesystem::weakly_canonical(chemin, ec);
    return ec ? chemin : cible;
}

// Creates a file beside `cible` under a name no other file has (hidden, with
// the process and a count in it); -1 when the folder cannot be written.
int cree_a_cote(const std::filesystem::path& cible, std::filesystem::path& temporaire) {
    static std::atomic<unsigned> compte{0};
    for (int essai = 0; essai < 100; ++essai) {
        temporaire = cible.parent_path() /
                     ("." + cible.filename().string() + "." + std::to_string(::getpid()) + "-" +
                      std::to_string(compte++) + ".tmp");
        const int fichier =
            ::open(temporaire.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fichier >= 0 || errno != EEXIST) return fichier;
    }
    return -1;
}

} // namespace

FichierTemporaire::FichierTemporaire(std::string_view nom) {
    std::error_code ec;
    std::string modele =
        (std::filesystem::temp_directory_path(ec) / ("kovrin-" + std::string(nom) + "-XXXXXX"))
            .string();
    const int fichier = ec ? -1 : ::mkstemp(modele.data());
    if (fichier < 0) throw ErreurKovrin(message_erreur_fichier(modele, "cannot be created"));
    ::close(fichier);
    chemin_ = modele;
}

FichierTemporaire::~FichierTemporaire() {
    std::error_code ec;
    if (!chemin_.empty()) std::filesystem::remove(chemin_, ec);
}

FichierTemporaire::FichierTemporaire(FichierTemporaire&& autre) noexcept
    : chemin_(std::exchange(autre.chemin_, {})) {}

EcrivainTexte::EcrivainTexte(const std::filesystem::path& chemin)
    : chemin_(chemin), cible_(cible_de(chemin)), exceptions_(std::uncaught_exceptions()) {
    struct stat etat {};
    const bool existe = ::stat(cible_.c_str(), &etat) == 0;
    if (existe && !S_ISREG(etat.st_mode))
        fichier_ = ::open(cible_.c_str(), O_WRONLY | O_CLOEXEC); // a directory fails here
    else if (!existe || ::access(cible_.c_str(), W_OK) == 0)
        fichier_ = cree_a_cote(cible_, temporaire_);
    if (fichier_ < 0) throw ErreurKovrin(message_erreur_fichier(chemin_, "cannot be created"));
    if (existe && !temporaire_.empty()) ::fchmod(fichier_, etat.st_mode & 07777);
    tampon_.reserve(taille_tampon);
}

EcrivainTexte::~EcrivainTexte() {
    if (fichier_ >= 0) termine(std::uncaught_exceptions() <= exceptions_);
}

void EcrivainTexte::ligne(std::string_view texte) {
    tampon_.append(texte).append("\r\n");
    if (tampon_.size() >= taille_tampon) vide_tampon();
}

void EcrivainTexte::texte(std::string_view morceau) {
    if (morceau.size() < taille_tampon) {
        tampon_.append(morceau);
        if (tampon_.size() >= taille_tampon) vide_tampon();
        return;
    }
    // A whole binary file goes to the file as it is.
    vide_tampon();
    erreur_ = erreur_ || !ecrit_tout(fichier_, morceau);
}

void EcrivainTexte::vide_tampon() {
    erreur_ = erreur_ || !ecrit_tout(fichier_, tampon_);
    tampon_.clear();
}

// Closes the file; the new one takes the target's place when `garde` and no
// write failed, else it goes and the target stays as it was.
bool EcrivainTexte::termine(bool garde) {
    vide_tampon();
    if (::close(fichier_) != 0) erreur_ = true;
    fichier_ = -1;
    if (temporaire_.empty()) return !erreur_;
    if (garde && !erreur_ && ::rename(temporaire_.c_str(), cible_.c_str()) == 0) return true;
    ::unlink(temporaire_.c_str());
    erreur_ = true;
    return false;
}

void EcrivainTexte::ferme() {
    if (fichier_ >= 0 && !termine(true))
        throw ErreurKovrin(message_erreur_fichier(chemin_, "write error"));
}

void ecrit_lignes(const std::filesystem::path& chemin, const std::vector<std::string>& lignes) {
    EcrivainTexte f(chemin);
    for (const auto& l : lignes)
        f.ligne(l);
    f.ferme();
}

std::string lit_octets(const std::filesystem::path& chemin) {
    std::error_code ec;
    std::ifstream flux(chemin, std::ios::binary);
    if (!flux || std::filesystem::is_directory(chemin, ec))
        throw ErreurKovrin(message_erreur_fichier(chemin, "cannot be opened"));
    try {
        std::string octets;
        char morceau[1 << 14];
        for (std::streamsize n; (n = flux.rdbuf()->sgetn(morceau, sizeof morceau)) > 0;)
            octets.append(morceau, static_cast<std::size_t>(n));
        return octets;
    } catch (const std::ios_base::failure&) {
        // the stream buffer reports a failed read(2) by throwing
        throw ErreurKovrin(message_erreur_fichier(chemin, "read error"));
    }
}

std::vector<std::string> lit_lignes(const std::filesystem::path& chemin) {
    const std::string octets = lit_octets(chemin);
    auto fin_de_ligne = [](char c) { return c == '\r' || c == '\n'; };
    std::vector<std::string> lignes;
    for (auto debut = octets.begin(); debut != octets.end();) {
        const auto fin = std::find_if(debut, octets.end(), fin_de_ligne);
        lignes.emplace_back(debut, fin);
        if (fin == octets.end()) break;
        const bool crlf = *fin == '\r' && fin + 1 != octets.end() && fin[1] == '\n';
        debut = fin + (crlf ? 2 : 1);
    }
    return lignes;
}

} // namespace kovrin
