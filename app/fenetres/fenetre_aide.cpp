#include "fenetres/fenetre_aide.h"

#include "fenetres/dialogues_qt.h"

#include "fenetres/controles.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kovrin::fenetres {

namespace {

const char* page_du_contexte(int contexte) {
    switch (contexte) {
    case 2:
        return "mesures.html";
    case 3:
        return "maille.html";
    case 4:
        return "profil.html";
    case 5:
        return "affinement.html";
    default:
        return "index.html";
    }
}

} // namespace

FenetreAide::FenetreAide(const std::filesystem::path& dossier_aide) : dossier_(dossier_aide) {
    setWindowTitle(QStringLiteral("KOVRIN Help"));
    ferme_par_echap(*this);
    auto* dans = new QVBoxLayout(this);
    auto* barre = new QHBoxLayout;
    auto* retour = new QPushButton(QStringLiteral("Back"), this);
    auto* sommaire = new QPushButton(QStringLiteral("Contents"), this);
    barre->addWidget(retour);
    barre->addWidget(sommaire);
    barre->addStretch();
    dans->addLayout(barre);
    navigateur = new QTextBrowser(this);
    navigateur->setOpenExternalLinks(true);
    dans->addWidget(navigateur);
    connect(retour, &QPushButton::clicked, navigateur, &QTextBrowser::backward);
    connect(sommaire, &QPushButton::clicked, this, [this] { montre_contexte(1); });
    resize(760, 620);
}

void FenetreAide::montre_contexte(int contexte) {
    const auto page = dossier_ / page_du_contexte(contexte);
    navigateur->setSource(QUrl::fromLocalFile(qs_chemin(page)));
    show();
    raise();
    activateWindow();
}

} // namespace kovrin::fenetres
