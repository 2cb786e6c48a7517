#pragma once
// Text files of the program: lines end in CR LF, bytes are written as they are
// (8-bit text; a 0xF8 stays one byte).
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

class EcrivainTexte {
public:
    // Creates or replaces the file; throws ErreurKovrin when it cannot.
    explicit EcrivainTexte(const std::filesystem::path& chemin);
    ~EcrivainTexte();
    EcrivainTexte(const EcrivainTexte&) = delete;
    EcrivainTexte& operator=(const EcrivainTexte&) = delete;

    void ligne(std::string_view texte = {});
    void texte(std::string_view morceau); // no line end
    // Flushes and closes; throws ErreurKovrin on a write error.
    void ferme();

private:
    std::filesystem::path chemin_;
    std::ofstream flux_;
};

// Writes the lines, each followed by CR LF.
void ecrit_lignes(const std::filesystem::path& chemin, const std::vector<std::string>& lignes);

// Reads a text file as lines: CR LF, LF and a lone CR all end a line; the line
// ends are not kept; a last line without an end is kept. Throws ErreurKovrin
// naming the file when it cannot be opened.
std::vector<std::string> lit_lignes(const std::filesystem::path& chemin);

// Whole file as bytes; throws ErreurKovrin when it cannot be opened.
std::string lit_octets(const std::filesystem::path& chemin);

// Message of an input/output error on a file, shared by every reader and writer.
std::string message_erreur_fichier(const std::filesystem::path& chemin, std::string_view quoi);

} // namespace kovrin
