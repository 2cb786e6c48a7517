#include "fenetres/tfexcel.h"

#include "fenetres/programme.h"
#include "interface/commandes_affinement.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kovrin::fenetres {

Tfexcel::Tfexcel(Programme& programme) : QDialog(nullptr), p_(programme) {
    setWindowTitle(QStringLiteral("Transfert to Excel"));
    auto* dans = new QVBoxLayout(this);
    auto* note = new QPlainTextEdit(this);
    note->setReadOnly(true);
    note->setPlainText(
        QStringLiteral("Select the text to be transfered to Excel ,  copy it in the clipboard.\n"
                       "and paste it in an Excel window"));
    note->setMaximumHeight(50);
    dans->addWidget(note);
    auto* liste = new QGroupBox(QStringLiteral("List"), this);
    auto* dans_liste = new QHBoxLayout(liste);
    courte = new QRadioButton(QStringLiteral("Short"), liste);
    longue = new QRadioButton(QStringLiteral("Long"), liste);
    courte->setChecked(true);
    dans_liste->addWidget(courte);
    dans_liste->addWidget(longue);
    dans->addWidget(liste);
    zone = new QPlainTextEdit(this);
    zone->setReadOnly(true);
    zone->setLineWrapMode(QPlainTextEdit::NoWrap);
    zone->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    dans->addWidget(zone, 1);
    auto* boutons = new QHBoxLayout;
    copie = new QPushButton(QStringLiteral("Copy"), this);
    annule = new QPushButton(QStringLiteral("Cancel"), this);
    boutons->addWidget(copie);
    boutons->addStretch();
    boutons->addWidget(annule);
    dans->addLayout(boutons);
    auto* groupe = new QButtonGroup(this);
    groupe->addButton(courte);
    groupe->addButton(longue);
    connect(groupe, &QButtonGroup::buttonClicked, this, [this] { initialise(); });
    connect(copie, &QPushButton::clicked, this, [this] {
        // Nothing selected: the whole export is what the user wants to paste.
        QString choisi = zone->textCursor().selectedText();
        QApplication::clipboard()->setText(choisi.isEmpty()
                                               ? zone->toPlainText()
                                               : choisi.replace(QChar(0x2029), QLatin1Char('\n')));
    });
    connect(annule, &QPushButton::clicked, this, &QDialog::hide);
    resize(504, 572);
}

void Tfexcel::initialise() {
    const ListeExport liste = longue->isChecked() ? ListeExport::longue : ListeExport::courte;
    std::string octets;
    p_.commande([&] { return change_liste_export(p_.espace, liste, octets, p_.dialogues()); });
    QString texte = QString::fromLatin1(octets.data(), static_cast<qsizetype>(octets.size()));
    texte.remove(QLatin1Char('\r'));
    zone->setPlainText(texte);
}

void Tfexcel::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (const QScreen* ecran = screen()) move(ecran->geometry().center() - rect().center());
    initialise();
}

} // namespace kovrin::fenetres
