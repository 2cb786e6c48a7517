#pragma once
// A fresh temporary directory for one test, made the current directory for the
// test's duration (the program writes its fixed-name files there); removed after.
#include <csignal>
#include <filesystem>
#include <string>

#include <sys/resource.h>

namespace kovrin::test {

class DossierTemporaire {
public:
    DossierTemporaire();
    ~DossierTemporaire();
    DossierTemporaire(const DossierTemporaire&) = delete;
    DossierTemporaire& operator=(const DossierTemporaire&) = delete;

    const std::filesystem::path& chemin() const { return chemin_; }
    std::filesystem::path operator/(const std::string& nom) const { return chemin_ / nom; }

private:
    std::filesystem::path chemin_;
    std::filesystem::path ancien_;
};

// Writes bytes to a file as they are.
void ecrit_fichier(const std::filesystem::path& chemin, const std::string& octets);
std::string lit_fichier(const std::filesystem::path& chemin);

// Files may not grow past `octets` while this lives (a disk that fills up:
// root writes anywhere, whatever the permissions say).
class LimiteTaille {
  public:
    explicit LimiteTaille(rlim_t octets) {
        ::getrlimit(RLIMIT_FSIZE, &ancienne_);
        signal_ = std::signal(SIGXFSZ, SIG_IGN); // EFBIG instead of the signal
        rlimit r = ancienne_;
        r.rlim_cur = octets;
        ::setrlimit(RLIMIT_FSIZE, &r);
    }
    ~LimiteTaille() {
        ::setrlimit(RLIMIT_FSIZE, &ancienne_);
        std::signal(SIGXFSZ, signal_);
    }
    LimiteTaille(const LimiteTaille&) = delete;
    LimiteTaille& operator=(const LimiteTaille&) = delete;

  private:
    rlimit ancienne_{};
    void (*signal_)(int);
};

} // namespace kovrin::test
