#include "fichiers/formats_pics.h"

#include "commun/texte.h"
#include "fichiers/lecteurs_pics.h"

namespace kovrin {

const std::array<FormatFichierPics, 6> formats_pics{{
    {pics_dif, "Bruker Format (*.dif)", "Bruker Format (*.dif)", "*.dif", ".dif", true,
     lit_pics_dif, "dif"},
    {pics_xfit, "XFIT Format (*.txt)", "XFIT Format (*.txt)", "*.txt", ".txt", false, lit_pics_xfit,
     "xfit"},
    {pics_winfit, "WINFIT Format (*.dat)", "WINFIT Format (*.dat)", "*.dat", ".dat", false,
     lit_pics_winfit, "winfit"},
    {pics_philips, "Philips Format (*.di)", "Philips format (*.di)", "*.di", ".di", true,
     lit_pics_philips, "philips"},
    {pics_prn, "Column format (*.prn)", "Column format (*.prn)", "*.prn", "", false,
     lit_pics_colonne, ""},
    {pics_colonne, "Column format (*.*)", "Column format (*.*)", "*", "", false, lit_pics_colonne,
     "column"},
}};

const FormatFichierPics& format_pics(int code) {
    for (const FormatFichierPics& f : formats_pics)
        if (f.code == code) return f;
    return formats_pics.back();
}

bool format_porte_lambda(int code) {
    return format_pics(code).porte_lambda;
}

int format_pics_par_nom(std::string_view nom) {
    for (const FormatFichierPics& f : formats_pics)
        if (!f.marque.empty() && nom.find(f.marque) != std::string_view::npos) return f.code;
    return pics_colonne;
}

int format_pics_de_nom_batch(std::string_view nom) {
    for (const FormatFichierPics& f : formats_pics)
        if (!f.nom_batch.empty() && majuscules(f.nom_batch) == majuscules(nom)) return f.code;
    return 0;
}

std::string noms_batch_pics() {
    std::string noms;
    std::string dernier;
    for (const FormatFichierPics& f : formats_pics) {
        if (f.nom_batch.empty()) continue;
        if (!dernier.empty()) noms += (noms.empty() ? "" : ", ") + dernier;
        dernier = std::string(f.nom_batch);
    }
    return noms + " or " + dernier;
}

std::string filtre_pics() {
    std::string filtre;
    for (const FormatFichierPics& f : formats_pics)
        filtre += (filtre.empty() ? "" : "|") + std::string(f.filtre) + "|" + std::string(f.motif);
    return filtre;
}

} // namespace kovrin
