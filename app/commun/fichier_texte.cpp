#include "commun/fichier_texte.h"

#include "commun/erreur.h"

#include <iterator>

namespace kovrin {

std::string message_erreur_fichier(const std::filesystem::path& chemin, std::string_view quoi) {
    return "File " + chemin.string() + ": " + std::string(quoi);
}

EcrivainTexte::EcrivainTexte(const std::filesystem::path& chemin)
    : chemin_(chemin), flux_(chemin, std::ios::binary | std::ios::trunc) {
    if (!flux_)
        throw ErreurKovrin(message_erreur_fichier(chemin_, "cannot be created"));
}

EcrivainTexte::~EcrivainTexte() = default;

void EcrivainTexte::ligne(std::string_view texte) {
    flux_.write(texte.data(), static_cast<std::streamsize>(texte.size()));
    flux_.write("\r\n", 2);
}

void EcrivainTexte::texte(std::string_view morceau) {
    flux_.write(morceau.data(), static_cast<std::streamsize>(morceau.size()));
}

void EcrivainTexte::ferme() {
    flux_.flush();
    bool bon = static_cast<bool>(flux_);
    flux_.close();
    if (!bon || flux_.fail())
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
        std::string octets((std::istreambuf_iterator<char>(flux)),
                           std::istreambuf_iterator<char>());
        if (flux.bad())
            throw ErreurKovrin(message_erreur_fichier(chemin, "read error"));
        return octets;
    } catch (const std::ios_base::failure&) {
        // the stream buffer reports a failed read(2) by throwing
        throw ErreurKovrin(message_erreur_fichier(chemin, "read error"));
    }
}

std::vector<std::string> lit_lignes(const std::filesystem::path& chemin) {
    std::string octets = lit_octets(chemin);
    std::vector<std::string> lignes;
    std::string courante;
    for (std::size_t i = 0; i < octets.size(); ++i) {
        char c = octets[i];
        if (c == '\r' || c == '\n') {
            lignes.push_back(courante);
            courante.clear();
            if (c == '\r' && i + 1 < octets.size() && octets[i + 1] == '\n')
                ++i;
        } else {
            courante += c;
        }
    }
    if (!courante.empty())
        lignes.push_back(courante);
    return lignes;
}

} // namespace kovrin
