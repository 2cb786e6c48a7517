// The whole job of kovrin-batch in process: a command line built from the
// input's bytes, through the very steps its main() takes (lit_options, deroule,
// then the JSON summary or the table). The command line is made of texts only,
// so this does not depend on how the options are held once read.
#include "deroulement.h"
#include "entrees.h"
#include "options.h"
#include "sortie.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace kovrin::fuzz {

namespace {

// Silicon (examples/cubique): eleven lines of Cu Kalpha1, and its cell.
constexpr const char* pics_silicium = "28.456\r\n47.315\r\n56.134\r\n69.141\r\n76.386\r\n88.039\r\n"
                                      "94.961\r\n106.715\r\n114.097\r\n127.547\r\n136.892\r\n";
constexpr const char* maille_silicium =
    "Silicon\r\nCUBI\r\nFD-3M\r\n    5.4310    5.4310    5.4310   90.0000   90.0000   90.0000\r\n";

// Written in the current folder when absent (the fuzz program's and each
// replay's own temporary folder).
void ecrit_donnees() {
    const std::pair<const char*, const char*> fichiers[] = {{"si.prn", pics_silicium},
                                                            {"si.cry", maille_silicium}};
    for (const auto& [nom, contenu] : fichiers)
        if (!std::filesystem::exists(nom)) std::ofstream(nom, std::ios::binary) << contenu;
}

// The input read byte by byte; zeros once it is spent.
class Octets {
  public:
    explicit Octets(std::string_view entree) : reste_(entree) {}
    unsigned char octet() {
        if (reste_.empty()) return 0;
        const auto o = static_cast<unsigned char>(reste_[0]);
        reste_.remove_prefix(1);
        return o;
    }
    bool vide() const { return reste_.empty(); }
    // Up to `n` bytes as they are: absurd texts.
    std::string texte(std::size_t n) {
        const std::size_t pris = std::min<std::size_t>(octet() % (n + 1), reste_.size());
        std::string t(reste_.substr(0, pris));
        reste_.remove_prefix(pris);
        return t;
    }
    double reel() {
        double v = 0;
        const std::size_t n = std::min(sizeof v, reste_.size());
        std::memcpy(&v, reste_.data(), n);
        reste_.remove_prefix(n);
        return v;
    }

  private:
    std::string_view reste_;
};

// Spellings a number may take on a command line, sensible or not.
constexpr std::array<const char*, 28> nombres_ecrits = {
    "0",   "-0",     "1",      "-1", "5.431", "-5",     "90",     "120",   "180", "179.99",
    "999", "1.5406", "0.7093", "10", "1e308", "-1e308", "1e-308", "1e400", "nan", "NaN",
    "inf", "-inf",   "0x10",   "",   " ",     "5,4",    "1e",     "+.5"};

std::string nombre(Octets& o) {
    const unsigned char choix = o.octet();
    if (choix < 2 * nombres_ecrits.size()) return nombres_ecrits[choix % nombres_ecrits.size()];
    if (choix < 200) {
        char t[40];
        std::snprintf(t, sizeof t, "%.17g", o.reel());
        return t;
    }
    if (choix < 240) return std::to_string(static_cast<int>(o.octet()) - 64);
    return o.texte(12);
}

// A list of `n` numbers joined by commas (the cell, the range).
std::string liste(Octets& o, int n) {
    std::string t;
    for (int i = 0; i < n; ++i)
        t += (i ? "," : "") + nombre(o);
    return t;
}

std::string un_de(Octets& o, std::initializer_list<const char*> choix) {
    const unsigned char c = o.octet();
    if (c >= choix.size() * 30) return o.texte(10);
    return choix.begin()[c % choix.size()];
}

std::string valeur_refine(Octets& o) {
    std::string t;
    for (int i = o.octet() % 5; i > 0; --i)
        t += (t.empty() ? "" : ",") +
             un_de(o, {"zero", "lambda", "a", "b", "c", "alpha", "beta", "gamma"});
    return t;
}

// One option of the command line, chosen and given its value by the bytes.
// Values are attached by "=", so that no value is ever read as an option.
std::string option(Octets& o) {
    switch (o.octet() % 22) {
    case 0:
        return "--peaks=si.prn";
    case 1:
        return "--cell=si.cry";
    case 2:
        return "--peak-format=" + un_de(o, {"column", "dif", "xfit", "winfit", "philips"});
    case 3:
        return "--system=" + un_de(o, {"CUBI", "TETR", "ORTH", "HEXA", "RHOM", "MONO", "TRIC",
                                       "cubic", "hexagonal"});
    case 4:
        return "--group=" + un_de(o, {"Pm-3m", "Fd-3m", "F d -3 m:1", "P21/c", "R-3m", "R -3 m:H",
                                      "P6_3/mmc", "227", "P1", "I41/amd", "P 4/m -3 2/m"});
    case 5:
        return "--cellpar=" + liste(o, 1 + o.octet() % 7);
    case 6:
        return "--lambda=" + nombre(o);
    case 7:
        return "--anode=" + un_de(o, {"Cu", "Mo", "Co", "Fe", "Cr"});
    case 8:
        return "--range=" + liste(o, 1 + o.octet() % 3);
    case 9:
        return "--tolerance=" + nombre(o);
    case 10:
        return "--refine=" + valeur_refine(o);
    case 11:
        return "--eccentricity";
    case 12:
        return "--no-refine";
    case 13:
        return "--linear-start";
    case 14:
        return "--keep=" + un_de(o, {"alpha", "alpha1", "alpha2", "l1", "l2"});
    case 15:
        return "--hall";
    case 16:
        return "--json";
    case 17:
        return "--reports";
    case 18:
        return "--cif=sortie.cif";
    case 19:
        return "--threshold=" + nombre(o);
    case 20:
        return o.octet() < 8 ? "--help" : "--" + o.texte(12);
    default:
        return o.texte(16);
    }
}

// A stray text that names --workdir or --cif would have the run write (and
// clear its old results) anywhere on the machine: left out.
bool hors_du_dossier(const std::string& argument) {
    return argument.starts_with("--workdir") ||
           (argument.starts_with("--cif") && argument != "--cif=sortie.cif");
}

std::vector<std::string> ligne_de_commande(std::string_view entree) {
    Octets o(entree);
    std::vector<std::string> arguments{"kovrin-batch"};
    for (int n = 0; n < 24 && !o.vide(); ++n)
        if (std::string a = option(o); !hors_du_dossier(a)) arguments.push_back(std::move(a));
    return arguments;
}

// spgr2.dat and the .pos files, read once for every run (no run edits them),
// as kovrin-batch reads them once for its one run.
DonneesLues& donnees_gardees() {
    static DonneesLues donnees;
    donnees.memorise = true;
    return donnees;
}

// What kovrin-batch's main() does with its command line.
int lance(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    auto lues = batch::lit_options(static_cast<int>(arguments.size()), argv.data());
    if (const int* code = std::get_if<int>(&lues)) return *code;
    const batch::OptionsBatch& options = std::get<batch::OptionsBatch>(lues);
    auto session = std::make_unique<batch::Session>();
    session->espace.donnees_lues = donnees_gardees();
    batch::deroule(options, *session);
    donnees_gardees() = session->espace.donnees_lues;
    std::ostringstream sortie;
    if (options.json)
        sortie << batch::resume_json(options, *session).dump(2);
    else if (session->code == batch::sortie_succes)
        batch::imprime_table(options, *session, sortie);
    return session->code;
}

// Standard output and error muted for one run (the run's messages and --help).
class Silence {
  public:
    Silence() : sortie_(std::cout.rdbuf(&vide_)), erreur_(std::cerr.rdbuf(&vide_)) {}
    ~Silence() {
        std::cout.rdbuf(sortie_);
        std::cerr.rdbuf(erreur_);
    }
    Silence(const Silence&) = delete;
    Silence& operator=(const Silence&) = delete;

  private:
    struct Vide : std::streambuf {
        int overflow(int c) override { return c; }
    } vide_;
    std::streambuf* sortie_;
    std::streambuf* erreur_;
};

} // namespace

std::string essaie_batch(std::string_view entree) {
    ecrit_donnees();
    const auto dossier = std::filesystem::current_path();
    std::string faute;
    int code = 0;
    try {
        Silence silence;
        code = lance(ligne_de_commande(entree));
    } catch (const std::exception& e) {
        faute = std::string("an exception escaped kovrin-batch: ") + e.what();
    } catch (...) {
        faute = "an exception of unknown type escaped kovrin-batch";
    }
    // --workdir is never given: the run must end where it started.
    std::error_code ec;
    if (std::filesystem::current_path(ec) != dossier) std::filesystem::current_path(dossier, ec);
    if (faute.empty() && (code < 0 || code > 2)) faute = "exit status " + std::to_string(code);
    return faute;
}

} // namespace kovrin::fuzz
