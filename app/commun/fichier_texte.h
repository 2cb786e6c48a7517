#pragma once
// Text files of the program: lines end in CR LF, bytes are written as they are
// (8-bit text; a 0xF8 stays one byte).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// Creates or replaces a file. An existing file is not truncated when opened:
// the new bytes are written over the old ones and the length is set when the
// file is closed. On ext4, a file truncated to zero and written again is
// flushed to the disk at close, which costs far more than writing it.
class EcrivainTexte {
  public:
    // Throws ErreurKovrin when the file cannot be created or opened for writing.
    explicit EcrivainTexte(const std::filesystem::path& chemin);
    // Without ferme(): what was written is kept, errors are ignored.
    ~EcrivainTexte();
    EcrivainTexte(const EcrivainTexte&) = delete;
    EcrivainTexte& operator=(const EcrivainTexte&) = delete;

    void ligne(std::string_view texte = {});
    void texte(std::string_view morceau); // no line end
    // Writes what remains, sets the length and closes; throws ErreurKovrin on
    // a write error.
    void ferme();

  private:
    void vide_tampon();
    bool termine();

    std::filesystem::path chemin_;
    int fichier_ = -1;
    std::string tampon_;
    long long longueur_ = 0; // bytes written so far
    bool erreur_ = false;
    bool regulier_ = true; // a device or a pipe has no length to set
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
