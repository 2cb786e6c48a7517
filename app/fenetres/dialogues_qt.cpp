#include "fenetres/dialogues_qt.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace kovrin::fenetres {

namespace {

const QString titre_boites = QStringLiteral("KOVRIN");

QWidget* parent_actif() {
    return QApplication::activeWindow();
}

void boite(QMessageBox::Icon icone, const std::string& texte) {
    QMessageBox b(icone, titre_boites, qs(texte), QMessageBox::Ok, parent_actif());
    b.exec();
}

// Pairs (caption, pattern) of a filter "Caption|*.ext|...".
QStringList entrees(const std::string& filtre) {
    const QStringList morceaux = qs(filtre).split(QLatin1Char('|'));
    QStringList resultat;
    for (qsizetype i = 0; i + 1 < morceaux.size(); i += 2) {
        QString legende = morceaux[i];
        const QString& motif = morceaux[i + 1];
        // Qt takes the patterns from the caption's last parentheses: a caption
        // that names other ones ("(*.*)" for every file) gets the real ones after.
        if (!legende.endsWith(QStringLiteral("(%1)").arg(motif)))
            legende += QStringLiteral(" (%1)").arg(motif);
        resultat << legende;
    }
    return resultat;
}

std::filesystem::path reponse(const QString& nom) {
    return nom.isEmpty() ? std::filesystem::path() : chemin(nom);
}

} // namespace

QString qs(const std::string& texte) {
    return QString::fromStdString(texte);
}

std::string texte(const QString& qt) {
    return qt.toStdString();
}

std::filesystem::path chemin(const QString& qt) {
    return std::filesystem::path(qt.toStdU16String());
}

QString qs_chemin(const std::filesystem::path& fichier) {
    return QString::fromStdU16String(fichier.u16string());
}

QString filtre_qt(const std::string& filtre) {
    return entrees(filtre).join(QStringLiteral(";;"));
}

QString entree_filtre_qt(const std::string& filtre, int index) {
    const QStringList e = entrees(filtre);
    return index >= 1 && index <= e.size() ? e[index - 1] : QString();
}

DialoguesQt::DialoguesQt(std::function<void(const std::filesystem::path&)> visionneuse)
    : visionneuse_(std::move(visionneuse)) {}

void DialoguesQt::erreur(const std::string& texte) {
    boite(QMessageBox::Critical, texte);
}

void DialoguesQt::information(const std::string& texte) {
    boite(QMessageBox::Information, texte);
}

void DialoguesQt::message(const std::string& texte) {
    boite(QMessageBox::NoIcon, texte);
}

Reponse DialoguesQt::confirmation(const std::string& texte) {
    const auto r = QMessageBox::question(parent_actif(), titre_boites, qs(texte),
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (r == QMessageBox::Yes) return Reponse::oui;
    return r == QMessageBox::No ? Reponse::non : Reponse::annuler;
}

void DialoguesQt::bip() {
    QApplication::beep();
}

void DialoguesQt::curseur_occupe(bool occupe) {
    if (occupe)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void DialoguesQt::ouvre_visionneuse(const std::filesystem::path& fichier) {
    if (visionneuse_) visionneuse_(fichier);
}

std::filesystem::path ChoixFichierQt::ouvrir(const std::string& filtre, int index) {
    QString choisi = entree_filtre_qt(filtre, index);
    return reponse(QFileDialog::getOpenFileName(parent_actif(), QString(), QString(),
                                                filtre_qt(filtre), &choisi));
}

std::filesystem::path ChoixFichierQt::enregistrer(const std::string& filtre, int index) {
    QString choisi = entree_filtre_qt(filtre, index);
    // The command asks its own question before it replaces a file.
    return reponse(QFileDialog::getSaveFileName(parent_actif(), QString(), QString(),
                                                filtre_qt(filtre), &choisi,
                                                QFileDialog::DontConfirmOverwrite));
}

std::filesystem::path ChoixFichierQt::dossier(const std::filesystem::path& depart) {
    return reponse(QFileDialog::getExistingDirectory(parent_actif(), QString(), qs_chemin(depart)));
}

} // namespace kovrin::fenetres
