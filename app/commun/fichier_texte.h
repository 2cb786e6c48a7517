#pragma once
// Text files of the program: lines end in CR LF, bytes are written as they are
// (8-bit text; a 0xF8 stays one byte).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kovrin {

// Creates or replaces a file, atomically: the bytes go to a new file beside
// the target (same folder, a unique hidden name), which is renamed over the
// target once complete, so a failed write (full disk, folder that cannot be
// written) leaves the old file whole. The new file keeps the old one's
// permissions; a symbolic link is followed. A device or a pipe is written as
// it is.
class EcrivainTexte {
  public:
    // Throws ErreurKovrin when the file cannot be created or opened for writing.
    explicit EcrivainTexte(const std::filesystem::path& chemin);
    // Without ferme(): what was written replaces the target, errors ignored,
    // unless an exception is leaving the writer's scope or a write failed:
    // then the target stays as it was.
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
    bool termine(bool garde);

    std::filesystem::path chemin_;     // as given, for messages
    std::filesystem::path cible_;      // the file replaced (a link's target)
    std::filesystem::path temporaire_; // written, then renamed to cible_; empty: in place
    int exceptions_ = 0;               // uncaught at construction
    int fichier_ = -1;
    std::string tampon_;
    bool erreur_ = false;
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

// A scratch file in the system's temporary folder under a unique name
// (kovrin-<nom>-XXXXXX), created empty and removed when this value goes.
class FichierTemporaire {
  public:
    // Throws ErreurKovrin when the temporary folder cannot be written.
    explicit FichierTemporaire(std::string_view nom);
    ~FichierTemporaire();
    FichierTemporaire(FichierTemporaire&& autre) noexcept;
    FichierTemporaire& operator=(FichierTemporaire&&) = delete;
    FichierTemporaire(const FichierTemporaire&) = delete;
    FichierTemporaire& operator=(const FichierTemporaire&) = delete;

    const std::filesystem::path& chemin() const { return chemin_; }

  private:
    std::filesystem::path chemin_;
};

} // namespace kovrin
