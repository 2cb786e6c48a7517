#include "commun/fichier_texte.h"

#include "commun/erreur.h"

#include <algorithm>
#include <cerrno>
#include <fstream>

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

} // namespace

EcrivainTexte::EcrivainTexte(const std::filesystem::path& chemin)
    : chemin_(chemin), fichier_(::open(chemin.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666)) {
    struct stat etat {};
    if (fichier_ < 0 || ::fstat(fichier_, &etat) != 0) {
        if (fichier_ >= 0) ::close(fichier_);
        throw ErreurKovrin(message_erreur_fichier(chemin_, "cannot be created"));
    }
    regulier_ = S_ISREG(etat.st_mode);
    tampon_.reserve(taille_tampon);
}

EcrivainTexte::~EcrivainTexte() {
    if (fichier_ >= 0) termine();
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
    longueur_ += static_cast<long long>(morceau.size());
}

void EcrivainTexte::vide_tampon() {
    erreur_ = erreur_ || !ecrit_tout(fichier_, tampon_);
    longueur_ += static_cast<long long>(tampon_.size());
    tampon_.clear();
}

// The bytes of an earlier, longer file beyond ours go.
bool EcrivainTexte::termine() {
    vide_tampon();
    if (regulier_ && ::ftruncate(fichier_, static_cast<off_t>(longueur_)) != 0) erreur_ = true;
    if (::close(fichier_) != 0) erreur_ = true;
    fichier_ = -1;
    return !erreur_;
}

void EcrivainTexte::ferme() {
    if (fichier_ >= 0 && !termine())
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
