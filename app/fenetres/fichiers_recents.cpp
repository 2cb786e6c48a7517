#include "fenetres/fichiers_recents.h"

#include "fenetres/dialogues_qt.h"

#include <QFileInfo>
#include <QSettings>

namespace kovrin::fenetres {

namespace {

const QString cle_recents = QStringLiteral("fichiers_recents");

} // namespace

QStringList fichiers_recents() {
    QStringList existants;
    for (const QString& f : QSettings().value(cle_recents).toStringList())
        if (QFileInfo::exists(f)) existants << f;
    return existants;
}

void retient_fichier_recent(const std::filesystem::path& fichier) {
    const QString nom = QFileInfo(qs_chemin(fichier)).absoluteFilePath();
    QStringList liste = QSettings().value(cle_recents).toStringList();
    liste.removeAll(nom);
    liste.prepend(nom);
    while (liste.size() > nb_fichiers_recents)
        liste.removeLast();
    QSettings().setValue(cle_recents, liste);
}

std::filesystem::path ChoixRetenu::ouvrir(const std::string& filtre, int index) {
    std::filesystem::path choisi = base_.ouvrir(filtre, index);
    if (!choisi.empty()) retient_fichier_recent(choisi);
    return choisi;
}

} // namespace kovrin::fenetres
