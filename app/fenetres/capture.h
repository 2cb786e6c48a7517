#pragma once
// Pictures of every window for the documentation: the files are taken in, the
// wavelength asked for is answered, and when both peaks and a cell are there
// the reflections are computed, paired and refined; then each window is
// rendered into a PNG file of `dossier`.
#include <QString>

#include <filesystem>
#include <vector>

namespace kovrin::fenetres {

class Programme;

struct Capture {
    std::filesystem::path dossier;
    std::vector<std::filesystem::path> fichiers;
    double lambda = 1.5405929; // given in the wavelength dialog for files that carry none
};

// Returns the number of pictures written.
int capture_fenetres(Programme& programme, const Capture& capture);

} // namespace kovrin::fenetres
