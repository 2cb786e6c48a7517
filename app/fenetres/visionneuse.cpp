#include "fenetres/visionneuse.h"

#include "fenetres/dialogues_qt.h"

#include "fenetres/controles.h"

#include <QDesktopServices>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kovrin::fenetres {

Visionneuse::Visionneuse(const std::filesystem::path& fichier) : fichier_(fichier) {
    const QString nom = qs_chemin(fichier);
    setWindowTitle(nom);
    ferme_par_echap(*this);
    auto* dans = new QVBoxLayout(this);
    texte = new QPlainTextEdit(this);
    texte->setReadOnly(true);
    texte->setLineWrapMode(QPlainTextEdit::NoWrap);
    texte->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    dans->addWidget(texte);
    auto* boutons = new QHBoxLayout;
    auto* imprime = new QPushButton(QStringLiteral("Print"), this);
    auto* editeur = new QPushButton(QStringLiteral("Open with the desktop's editor"), this);
    auto* ferme = new QPushButton(QStringLiteral("Close"), this);
    boutons->addWidget(imprime);
    boutons->addWidget(editeur);
    boutons->addStretch();
    boutons->addWidget(ferme);
    dans->addLayout(boutons);
    connect(imprime, &QPushButton::clicked, this, [this] {
        QPrinter imprimante;
        QPrintDialog dialogue(&imprimante, this);
        if (dialogue.exec() == QDialog::Accepted) texte->print(&imprimante);
    });
    connect(editeur, &QPushButton::clicked, this,
            [nom] { QDesktopServices::openUrl(QUrl::fromLocalFile(nom)); });
    connect(ferme, &QPushButton::clicked, this, &QWidget::close);
    resize(820, 600);
    recharge();
}

void Visionneuse::recharge() {
    QFile f(qs_chemin(fichier_));
    if (!f.open(QIODevice::ReadOnly)) {
        texte->clear();
        return;
    }
    QString contenu = QString::fromLatin1(f.readAll());
    contenu.remove(QLatin1Char('\r'));
    texte->setPlainText(contenu);
}

} // namespace kovrin::fenetres
