#include "options.h"

#include "commun/nombres.h"
#include "commun/texte.h"
#include "cristallo/anodes.h"
#include "cristallo/domaines.h"
#include "cristallo/onglet_maille.h"
#include "fichiers/formats_profil.h"
#include "interface/prise_donnees.h"

#include <CLI/CLI.hpp>

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <vector>

namespace kovrin::batch {

namespace {

// A refused option: the message goes to standard error with the program's name.
struct OptionRefusee {
    std::string texte;
};

std::vector<std::string> decoupe(const std::string& liste) {
    std::vector<std::string> parties;
    std::size_t debut = 0;
    while (true) {
        const auto virgule = liste.find(',', debut);
        parties.push_back(sans_blancs(liste.substr(debut, virgule - debut)));
        if (virgule == std::string::npos) return parties;
        debut = virgule + 1;
    }
}

template <std::size_t N>
int indice_nom(const std::array<const char*, N>& noms, const std::string& nom) {
    for (std::size_t i = 0; i < N; ++i)
        if (majuscules(noms[i]) == majuscules(nom)) return static_cast<int>(i);
    return -1;
}

template <std::size_t N> std::string liste_noms(const std::array<const char*, N>& noms) {
    std::string texte;
    for (const char* nom : noms)
        texte += (texte.empty() ? "" : ", ") + std::string(nom);
    return texte;
}

template <std::size_t N>
std::array<bool, N> marques(const std::string& option, const std::string& liste,
                            const std::array<const char*, N>& noms) {
    std::array<bool, N> m{};
    if (sans_blancs(liste).empty()) return m;
    for (const std::string& nom : decoupe(liste)) {
        const int i = indice_nom(noms, nom);
        if (i < 0)
            throw OptionRefusee{option + ": unknown name \"" + nom + "\" (expected any of " +
                                liste_noms(noms) + ")"};
        m[static_cast<std::size_t>(i)] = true;
    }
    return m;
}

int format_pics_nomme(const std::string& nom) {
    if (const int code = format_pics_de_nom_batch(nom)) return code;
    throw OptionRefusee{"--peak-format: unknown format \"" + nom + "\" (expected " +
                        noms_batch_pics() + ")"};
}

int ligne_anode(const std::string& nom) {
    const Anode* a = anode_de_nom(nom);
    if (!a)
        throw OptionRefusee{"--anode: unknown anode \"" + nom +
                            "\" (expected Mo, Cu, Co, Fe or Cr)"};
    return static_cast<int>(a - table_anodes.data());
}

std::string absolu(const std::string& chemin) {
    return chemin.empty() ? chemin : std::filesystem::absolute(chemin).lexically_normal().string();
}

// A refusal of the value's domain, named after its option.
void verifie(const std::string& option, const Refus& refus) {
    if (refus) throw OptionRefusee{option + ": " + *refus};
}

void lit_domaine(const std::string& texte, OptionsBatch& o) {
    const auto parties = decoupe(texte);
    std::optional<double> debut, fin;
    if (parties.size() == 2) {
        debut = lit_reel(parties[0]);
        fin = lit_reel(parties[1]);
    }
    if (!debut || !fin || !(*debut < *fin))
        throw OptionRefusee{"--range: expected MIN,MAX in degrees 2theta with MIN < MAX, not \"" +
                            texte + "\""};
    verifie("--range", refus_plage(*debut, *fin));
    o.domaine = true;
    o.angle_min = *debut;
    o.angle_max = *fin;
}

Saisie parametre_maille(int rang, const std::string& texte) {
    const Saisie s = Saisie::de_texte(texte);
    if (s.etat == Saisie::Etat::illisible)
        throw OptionRefusee{"--cellpar: " + std::string(nom_parametre_maille(rang)) +
                            " is no number: \"" + texte + "\""};
    if (s.nombre()) verifie("--cellpar", refus_parametre_maille(rang, s.valeur));
    return s;
}

void lit_parametres_maille(const std::string& texte, OptionsBatch& o) {
    const auto parties = decoupe(texte);
    if (parties.size() > 6)
        throw OptionRefusee{"--cellpar: at most six values a,b,c,alpha,beta,gamma, not \"" + texte +
                            "\""};
    Maille maille{};
    bool complete = parties.size() == 6;
    for (std::size_t i = 0; i < parties.size(); ++i) {
        o.parametres_maille[i] = parametre_maille(static_cast<int>(i), parties[i]);
        maille[i] = o.parametres_maille[i].valeur;
        complete = complete && o.parametres_maille[i].nombre();
    }
    if (complete) verifie("--cellpar", refus_maille(maille));
}

void verifie_nombres(const OptionsBatch& o) {
    if (o.lambda) verifie("--lambda", refus_lambda(*o.lambda));
    verifie("--tolerance", refus_tolerance(o.tolerance));
}

void lit_tolerance(const std::string& texte, OptionsBatch& o) {
    const auto tolerance = lit_reel(texte);
    if (!tolerance) throw OptionRefusee{"--tolerance: \"" + texte + "\" is no number"};
    o.tolerance = *tolerance;
}

void lit_systeme(const std::string& texte, OptionsBatch& o) {
    // "CUBI" as the list's code, or a name it starts: "cubic", "Hexagonal"...
    o.ligne_systeme = ligne_du_systeme(majuscules(sans_blancs(texte).substr(0, 4)));
    if (o.ligne_systeme < 0)
        throw OptionRefusee{"--system: unknown crystal system \"" + texte +
                            "\" (expected CUBI, TETR, ORTH, HEXA, RHOM, MONO or TRIC)"};
}

// What CLI11 cannot check by itself: lists, ranges and the sense of the limits.
struct Textes {
    std::string format_pics, keep, anode, systeme, cellpar, domaine, refine;
    std::string methode, tolerance;
};

// The search method by its name; each method's own threshold only with it.
void lit_methode(const CLI::App& app, const Textes& t, OptionsBatch& o) {
    if (majuscules(t.methode) == "DERIVATIVE")
        o.methode = MethodeRecherche::derivee_seconde;
    else if (!t.methode.empty() && majuscules(t.methode) != "STATISTICS")
        throw OptionRefusee{"--search-method: unknown method \"" + t.methode +
                            "\" (expected statistics or derivative)"};
    const bool derivee = o.methode == MethodeRecherche::derivee_seconde;
    if (app.count("--threshold") && !derivee)
        throw OptionRefusee{"--threshold is the depth of the second-derivative search: give "
                            "--search-method derivative, or --significance for the default "
                            "search"};
    if (app.count("--significance") && derivee)
        throw OptionRefusee{"--significance belongs to the counting-statistics search, not to "
                            "--search-method derivative"};
}

void complete(const CLI::App& app, const Textes& t, OptionsBatch& o) {
    if (!t.format_pics.empty()) o.format_pics = format_pics_nomme(t.format_pics);
    if (app.count("--keep")) o.genres_gardes = marques("--keep", t.keep, noms_genres);
    if (!t.anode.empty()) o.anode = ligne_anode(t.anode);
    if (!t.systeme.empty()) lit_systeme(t.systeme, o);
    if (!t.cellpar.empty()) lit_parametres_maille(t.cellpar, o);
    if (!t.domaine.empty()) lit_domaine(t.domaine, o);
    if (!t.tolerance.empty()) lit_tolerance(t.tolerance, o);
    if (app.count("--refine")) o.a_affiner = marques("--refine", t.refine, noms_parametres);
    verifie_nombres(o);
    lit_methode(app, t, o);
    if (o.largeur_min > o.largeur_max)
        throw OptionRefusee{"--min-width is larger than --max-width"};
    if (o.pics.empty() && !o.recherche && !o.sans_affinement)
        throw OptionRefusee{
            "no measured reflections: give --peaks FILE, or --profile FILE with --search"};
    if (o.ajuste_pics && !o.recherche && o.pics.empty())
        throw OptionRefusee{"--fit-peaks: no peaks to fit: give --search or --peaks FILE"};
    if (const auto refus = complete_indexation(o.indexation)) throw OptionRefusee{*refus};
    if (o.maille.empty() && o.ligne_systeme < 0 && !o.indexation.demandee)
        throw OptionRefusee{"no cell: give --cell FILE, or --system, --group and --cellpar"};
    o.pics = absolu(o.pics);
    o.profil = absolu(o.profil);
    o.maille = absolu(o.maille);
    o.cif = absolu(o.cif);
    o.repertoire = absolu(o.repertoire.empty() ? "." : o.repertoire);
}

// The search by counting statistics (the default) or by the second derivative,
// and the pairing that estimates the zero shift first (the default).
void declare_methodes(CLI::App& app, OptionsBatch& o, Textes& t, CLI::Option* recherche) {
    app.add_option("--search-method", t.methode,
                   "statistics (default): peaks that stand --significance standard "
                   "uncertainties of the counts above the background; derivative: the "
                   "second derivative against --threshold")
        ->type_name("M")
        ->needs(recherche);
    app.add_option("--significance", o.significativite,
                   "smallest peak height of the default search, in standard uncertainties "
                   "(default 3)")
        ->type_name("K")
        ->check(CLI::PositiveNumber)
        ->needs(recherche);
    app.add_flag(
        "--no-zero-estimate", [&o](std::int64_t) { o.estime_decalage = false; },
        "pair by the plain rule, without estimating the zero shift first");
}

// What KOVRIN gives beyond the four tabs.
void declare_complements(CLI::App& app, OptionsBatch& o, CLI::Option* profil) {
    app.add_flag("--fit-peaks", o.ajuste_pics,
                 "fit each measured peak on the profile (pseudo-Voigt with its Kalpha2 "
                 "companion); the angles become the Kalpha1 positions and lambda becomes "
                 "lambda1 (after --search, or on the peaks of --peaks)")
        ->needs(profil);
    app.add_flag("--linear-start", o.depart_lineaire,
                 "after the selection, start the refinement from the cell that the pairs' "
                 "indices give by linear least squares");
    app.add_option("--cif", o.cif,
                   "write the refined cell as CIF, with the usual standard uncertainties")
        ->type_name("FILE");
    auto* index = declare_indexation(app, o.indexation);
    for (const char* nom : {"--cell", "--system"})
        index->excludes(app.get_option(nom));
}

void declare(CLI::App& app, OptionsBatch& o, Textes& t) {
    auto* pics = app.add_option("--peaks", o.pics, "measured-peak file")->type_name("FILE");
    app.add_option("--peak-format", t.format_pics, noms_batch_pics())->type_name("F");
    auto* profil =
        app.add_option("--profile", o.profil, "raw profile (formats below)")->type_name("FILE");
    auto* recherche = app.add_flag("--search", o.recherche,
                                   "automatic peak search on the profile; its peaks become the "
                                   "measured reflections");
    recherche->needs(profil)->excludes(pics);
    for (auto* limite :
         {app.add_option("--threshold", o.seuil,
                         "depth threshold of --search-method derivative (default 2.0)"),
          app.add_option("--min-width", o.largeur_min, "smallest peak width, deg (default 0.10)"),
          app.add_option("--max-width", o.largeur_max, "largest peak width, deg (default 1.0)")})
        limite->type_name("X")->check(CLI::NonNegativeNumber)->needs(recherche);
    app.add_option("--keep", t.keep,
                   "after the search, kinds to keep: alpha, alpha1, alpha2, l1, l2")
        ->type_name("LIST")
        ->needs(recherche);
    auto* anode = app.add_option("--anode", t.anode,
                                 "Mo | Cu | Co | Fe | Cr, for files without "
                                 "a wavelength");
    anode->type_name("NAME");
    app.add_option("--lambda", o.lambda, "wavelength (A) for files without one")->type_name("L");
    auto* maille = app.add_option("--cell", o.maille, ".cry or .ics cell file")->type_name("FILE");
    auto* systeme =
        app.add_option("--system", t.systeme, "CUBI | TETR | ORTH | HEXA | RHOM | MONO | TRIC")
            ->type_name("CODE");
    auto* groupe = app.add_option("--group", o.groupe, "space-group symbol (spellings below)")
                       ->type_name("SYMBOL");
    auto* hall = app.add_flag("--hall", o.hall, "take the symbol from the list with Hall notation");
    auto* cellpar = app.add_option("--cellpar", t.cellpar, "a,b,c,alpha,beta,gamma")
                        ->type_name("a,b,c,al,be,ga");
    systeme->needs(groupe)->needs(cellpar);
    groupe->needs(systeme);
    cellpar->needs(systeme);
    hall->needs(groupe);
    for (auto* o_maille : {systeme, groupe, hall, cellpar})
        maille->excludes(o_maille);
    app.add_option("--range", t.domaine, "current 2theta range (default: the data's)")
        ->type_name("MIN,MAX");
    app.add_option("--tolerance", t.tolerance, "matching tolerance, deg 2theta (default 0.1)")
        ->type_name("T");
    app.add_option("--refine", t.refine,
                   "any of zero, lambda, a, b, c, alpha, beta, gamma (default: zero and what "
                   "the crystal system leaves free)")
        ->type_name("LIST");
    app.add_flag("--eccentricity", o.excentricite,
                 "refine the angular term as sample eccentricity");
    app.add_flag("--no-refine", o.sans_affinement, "stop after computing and matching reflections");
    app.add_flag("--reports", o.rapports, "also write indx.out, dif.out and raw.out");
    app.add_option("--workdir", o.repertoire, "working directory (default: current)")
        ->type_name("DIR");
    app.add_flag("--json", o.json, "print a JSON summary instead of the table");
    declare_complements(app, o, profil);
    declare_methodes(app, o, t, recherche);
}

// The end of --help: the profile formats of the program's table and the
// spellings of space-group symbols.
std::string pied_aide() {
    std::string t = "Profile formats (--profile), chosen by the file's extension:\n";
    for (const auto& f : formats_profil)
        t += "  " + texte_filtre(f) + "\n";
    return t + "  A file of any other name goes to xylib, which knows its format by its content\n"
               "  (XRDML, UXD, UDF, DIFFRAC-AT RAW 1 to 3, text columns, CSV...); a raw file of a\n"
               "  version the program does not read goes to xylib too.\n\n"
               "Space-group symbols (--group) are taken however they are written: P21/c,\n"
               "\"P 1 21/c 1\", \"p 21/c\", P2_1/c, P2\u2081/c, full symbols such as \"P 4/m -3 "
               "2/m\", the\n"
               "group number, an origin or axes suffix (:1, :2, :H, :R); the list's entry of the\n"
               "same group and setting is chosen. Without a suffix, origin choice 2 is taken\n"
               "where the list holds it, and R groups on the axes of --system.";
}

} // namespace

std::variant<OptionsBatch, int> lit_options(int argc, char** argv) {
    CLI::App app{"KOVRIN: refinement of a unit cell from powder diffraction peak angles",
                 "kovrin-batch"};
    app.footer("Standard errors: the table's \"Sigmas\" and the JSON \"sigmas\" are the "
               "engine's own, sqrt(S)/(Nref-Npar) times the root of the inverse normal matrix, "
               "as kovrin.out and the refinement tab give them. The table's value(esd), the "
               "JSON \"sigmas_standard\", the CIF and the figures of merit use the usual "
               "least-squares estimate, sqrt(S/(Nref-Npar)) times the same root: larger by "
               "sqrt(Nref-Npar).");
    OptionsBatch o;
    Textes t;
    declare(app, o, t);
    app.footer(pied_aide());
    try {
        app.parse(argc, argv);
        complete(app, t, o);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? sortie_succes : sortie_mauvaise_entree;
    } catch (const OptionRefusee& e) {
        std::cerr << "kovrin-batch: " << e.texte << "\nRun with --help for more information.\n";
        return sortie_mauvaise_entree;
    }
    return o;
}

} // namespace kovrin::batch
