#include "fichiers/xylib_isole.h"

#include "commun/erreur.h"
#include "commun/format.h"
#include "commun/octets.h"

#include <xylib/xylib.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kovrin {

namespace {

// --- the child's side: xylib's data set to the program's values ---------------

int nb_points_bloc(const xylib::Block& b) {
    const int x = b.get_column(1).get_point_count(), y = b.get_column(2).get_point_count();
    return x < 0 ? y : std::min(x, y); // a column of steps has no length of its own
}

// Finite angles, equidistant (a column of steps) or strictly increasing.
bool angles_utilisables(const xylib::Column& x, int n) {
    if (n < 1) return false;
    const double pas = x.get_step();
    if (pas != 0 && std::isfinite(pas)) return std::isfinite(x.get_value(0));
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(x.get_value(i)) || (i > 0 && !(x.get_value(i) > x.get_value(i - 1))))
            return false;
    return true;
}

bool bloc_utilisable(const xylib::Block& b) {
    return b.get_column_count() >= 2 && angles_utilisables(b.get_column(1), nb_points_bloc(b));
}

void ajoute_meta(const xylib::MetaData& m, MetaXylib& meta) {
    for (std::size_t i = 0; i < m.size(); ++i)
        meta.emplace_back(m.get_key(i), m.get(m.get_key(i)));
}

void prend_bloc(const xylib::Block& b, std::size_t max_points, DonneesXylib& r) {
    const int n = nb_points_bloc(b);
    r.nb_points = static_cast<std::size_t>(n);
    ajoute_meta(b.meta, r.meta);
    if (r.nb_points > max_points) return;
    for (int i = 0; i < n; ++i) {
        r.angles.push_back(b.get_column(1).get_value(i));
        r.intensites.push_back(b.get_column(2).get_value(i));
    }
}

DonneesXylib extrait(const xylib::DataSet& ds, std::size_t max_points) {
    DonneesXylib r;
    r.format = ds.fi->name;
    r.description = ds.fi->desc;
    r.nb_blocs = ds.get_block_count();
    ajoute_meta(ds.meta, r.meta);
    for (int i = 0; i < r.nb_blocs && r.bloc < 0; ++i)
        if (bloc_utilisable(*ds.get_block(i))) {
            r.bloc = i;
            prend_bloc(*ds.get_block(i), max_points, r);
        }
    return r;
}

DonneesXylib lit_dans_ce_processus(const std::filesystem::path& fichier, std::size_t max_points) {
    std::setlocale(LC_NUMERIC, "C"); // xylib converts numbers with the C library
    try {
        // Never deleted: some data sets of malformed files hold a block twice and
        // crash when destroyed; the child ends right after sending its answer.
        const xylib::DataSet* ds = xylib::load_file(fichier.string());
        return extrait(*ds, max_points);
    } catch (const std::exception& e) {
        DonneesXylib r;
        r.erreur = e.what();
        return r;
    }
}

// --- the answer through the pipe --------------------------------------------------

class Paquet {
  public:
    void entier(std::size_t n) { ecrit_i32(octets, grandit(4), static_cast<std::int32_t>(n)); }
    void reel(double v) { ecrit_f64(octets, grandit(8), v); }
    void texte(std::string_view t) {
        entier(t.size());
        octets += t;
    }
    std::string octets;

  private:
    std::size_t grandit(std::size_t n) {
        octets.resize(octets.size() + n);
        return octets.size() - n;
    }
};

class Depaquetage {
  public:
    explicit Depaquetage(std::string_view o) : o_(o) {}
    std::size_t entier() {
        const std::int32_t v = lit_i32(o_, avance(4));
        if (v < 0) throw ErreurKovrin("negative count");
        return static_cast<std::size_t>(v);
    }
    double reel() { return lit_f64(o_, avance(8)); }
    std::string texte() {
        const std::size_t n = entier();
        return lit_texte_brut(o_, avance(n), n);
    }

  private:
    std::size_t avance(std::size_t n) {
        p_ += n;
        return p_ - n;
    }
    std::string_view o_;
    std::size_t p_ = 0;
};

std::string paquet(const DonneesXylib& r) {
    Paquet p;
    for (const std::string* t : {&r.erreur, &r.format, &r.description})
        p.texte(*t);
    p.entier(static_cast<std::size_t>(r.nb_blocs));
    p.entier(static_cast<std::size_t>(r.bloc + 1));
    p.entier(r.nb_points);
    p.entier(r.angles.size());
    for (std::size_t i = 0; i < r.angles.size(); ++i) {
        p.reel(r.angles[i]);
        p.reel(r.intensites[i]);
    }
    p.entier(r.meta.size());
    for (const auto& [cle, valeur] : r.meta) {
        p.texte(cle);
        p.texte(valeur);
    }
    return std::move(p.octets);
}

DonneesXylib depaquete(std::string_view octets) {
    Depaquetage p(octets);
    DonneesXylib r;
    for (std::string* t : {&r.erreur, &r.format, &r.description})
        *t = p.texte();
    r.nb_blocs = static_cast<int>(p.entier());
    r.bloc = static_cast<int>(p.entier()) - 1;
    r.nb_points = p.entier();
    for (std::size_t i = 0, n = p.entier(); i < n; ++i) {
        r.angles.push_back(p.reel());
        r.intensites.push_back(p.reel());
    }
    for (std::size_t i = 0, n = p.entier(); i < n; ++i) {
        std::string cle = p.texte();
        r.meta.emplace_back(std::move(cle), p.texte());
    }
    return r;
}

// --- the parent's side: the child, its answer and how it ended --------------------

void ecrit_tout(int fd, std::string_view octets) {
    while (!octets.empty()) {
        const ssize_t n = write(fd, octets.data(), octets.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        octets.remove_prefix(static_cast<std::size_t>(n));
    }
}

[[noreturn]] void enfant(int fd, const std::filesystem::path& fichier, std::size_t max_points) {
    ecrit_tout(fd, paquet(lit_dans_ce_processus(fichier, max_points)));
    _exit(0); // nothing of the parent's (buffers, exit handlers) runs twice
}

// Everything the child writes until it closes the pipe; false when the delay ran out.
bool lit_tout(int fd, std::chrono::milliseconds delai, std::string& recu) {
    const auto limite = std::chrono::steady_clock::now() + delai;
    char tampon[65536];
    while (true) {
        const auto reste = std::chrono::duration_cast<std::chrono::milliseconds>(
            limite - std::chrono::steady_clock::now());
        if (reste.count() <= 0) return false;
        pollfd attente{fd, POLLIN, 0};
        const int pret = poll(&attente, 1, static_cast<int>(reste.count()));
        if (pret < 0 && errno == EINTR) continue;
        if (pret <= 0) return false;
        const ssize_t n = read(fd, tampon, sizeof tampon);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        recu.append(tampon, static_cast<std::size_t>(n));
    }
}

int attend_fin(pid_t pid) {
    int statut = 0;
    while (waitpid(pid, &statut, 0) < 0 && errno == EINTR) {
    }
    return statut;
}

DonneesXylib echec(std::string raison) {
    DonneesXylib r;
    r.erreur = std::move(raison);
    return r;
}

DonneesXylib reponse(std::chrono::milliseconds delai, bool complete, int statut,
                     std::string_view recu) {
    if (!complete)
        return echec("no answer within " +
                     pascal_reel(static_cast<double>(delai.count()) / 1000, 1, 1) + " s");
    if (WIFSIGNALED(statut))
        return echec("the reading stopped on signal " + std::to_string(WTERMSIG(statut)) + " (" +
                     strsignal(WTERMSIG(statut)) + ")");
    try {
        return depaquete(recu);
    } catch (const ErreurKovrin&) {
        return echec("its answer was cut short");
    }
}

} // namespace

DonneesXylib charge_par_xylib(const std::filesystem::path& fichier, std::size_t max_points,
                              std::chrono::milliseconds delai) {
    int tube[2];
    if (pipe(tube) != 0) return echec(std::string("it cannot be started: ") + std::strerror(errno));
    const pid_t pid = fork();
    if (pid == 0) {
        close(tube[0]);
        enfant(tube[1], fichier, max_points);
    }
    close(tube[1]);
    if (pid < 0) {
        close(tube[0]);
        return echec(std::string("it cannot be started: ") + std::strerror(errno));
    }
    std::string recu;
    const bool complete = lit_tout(tube[0], delai, recu);
    close(tube[0]);
    if (!complete) kill(pid, SIGKILL);
    return reponse(delai, complete, attend_fin(pid), recu);
}

} // namespace kovrin
