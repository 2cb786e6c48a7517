// kovrin2: the windowed program. Files named on the command line are taken in
// as the menu entries would take them (peaks, then profiles, then cells);
// --capture renders every window into PNG files instead of running.
#include "commun/dialogues.h"
#include "commun/nombres.h"
#include "cristallo/domaines.h"
#include "fenetres/application.h"
#include "fenetres/capture.h"
#include "fenetres/dialogues_qt.h"
#include "fenetres/dossiers.h"
#include "fenetres/programme.h"
#include "fenetres/tform1.h"
#include "fenetres/tform6.h"
#include "interface/ligne_etat.h"
#include "interface/session_batch.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QStatusBar>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <vector>

namespace {

std::vector<std::filesystem::path> fichiers(const QStringList& noms) {
    std::vector<std::filesystem::path> chemins;
    for (const QString& nom : noms)
        chemins.push_back(std::filesystem::absolute(kovrin::fenetres::chemin(nom)));
    return chemins;
}

// Until the window manager has framed and shown the windows (at most a second).
void attend_exposition(std::initializer_list<QWidget*> fenetres) {
    QElapsedTimer attente;
    attente.start();
    const auto exposee = [](QWidget* w) {
        return w->windowHandle() && w->windowHandle()->isExposed();
    };
    while (attente.elapsed() < 1000 && !std::all_of(fenetres.begin(), fenetres.end(), exposee))
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
}

int capture(const QCommandLineParser& ligne) {
    kovrin::DialoguesEnregistres silence; // a picture needs no message box
    kovrin::fenetres::Programme programme(std::filesystem::current_path(), &silence);
    kovrin::fenetres::Capture c;
    c.dossier =
        std::filesystem::absolute(kovrin::fenetres::chemin(ligne.value(QStringLiteral("capture"))));
    c.fichiers = fichiers(ligne.positionalArguments());
    if (ligne.isSet(QStringLiteral("lambda"))) {
        const kovrin::Saisie l = kovrin::Saisie::de_texte(
            kovrin::fenetres::texte(ligne.value(QStringLiteral("lambda"))));
        if (const kovrin::Refus r =
                l.nombre() ? kovrin::refus_lambda(l.valeur) : kovrin::Refus{"λ is no number"}) {
            std::fprintf(stderr, "kovrin2: --lambda: %s\n", r->c_str());
            return 2;
        }
        c.lambda = l.valeur;
    }
    const int n = kovrin::fenetres::capture_fenetres(programme, c);
    for (const std::string& t : silence.textes())
        std::fprintf(stderr, "kovrin2: %s\n", t.c_str());
    std::printf("%d pictures in %s\n", n, c.dossier.string().c_str());
    return n > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    kovrin::fenetres::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kovrin2"));
    QCommandLineParser ligne;
    ligne.setApplicationDescription(
        QStringLiteral("Cell refinement from powder diffraction peaks"));
    ligne.addHelpOption();
    ligne.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("Peak, profile or cell files to open, by their extension"));
    ligne.addOption({QStringLiteral("capture"),
                     QStringLiteral("Render every window into PNG files of <dir>, then quit"),
                     QStringLiteral("dir")});
    ligne.addOption({QStringLiteral("desktop"),
                     QStringLiteral("Started from the desktop: work in the program's own folder "
                                    "(~/.local/share/kovrin) rather than the current one")});
    ligne.addOption({QStringLiteral("lambda"),
                     QStringLiteral("With --capture: the wavelength typed when a file has none"),
                     QStringLiteral("angstrom")});
    ligne.process(application);
    if (ligne.isSet(QStringLiteral("capture"))) return capture(ligne);
    kovrin::fenetres::Programme programme(kovrin::repertoire_de_travail(
        std::filesystem::current_path(), ligne.isSet(QStringLiteral("desktop")),
        kovrin::fenetres::repertoire_propre()));
    // The diagram below the main window, once both frames are known; the
    // main window keeps the activation.
    programme.form1().show();
    programme.form6().show();
    attend_exposition({&programme.form1(), &programme.form6()});
    programme.form6().place_sous(programme.form1());
    programme.form1().activateWindow();
    programme.form1().statusBar()->showMessage(
        kovrin::fenetres::qs(kovrin::ligne_repertoire(programme.espace.repertoire)));
    programme.sauve_automatiquement(kovrin::fenetres::dossier_sauvegardes_auto());
    programme.ouvre_fichiers(fichiers(ligne.positionalArguments()));
    return QApplication::exec();
}
