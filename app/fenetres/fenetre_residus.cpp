#include "fenetres/fenetre_residus.h"

#include "fenetres/controles.h"
#include "fenetres/image_trace.h"
#include "fenetres/impression.h"
#include "fenetres/pages_principale.h"
#include "fenetres/programme.h"
#include "interface/residus.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovrin::fenetres {

FenetreResidus::FenetreResidus(Programme& programme) : QWidget(nullptr), p_(programme) {
    setWindowTitle(QStringLiteral("Residuals of the refinement"));
    auto* colonne = new QVBoxLayout(this);
    trace_ = nomme(
        new ImageTrace([this](int l, int h) { return dessin_residus(p_.espace, l, h); }, this),
        "trace_residus");
    colonne->addWidget(trace_, 1);
    auto* rangee = new QHBoxLayout;
    auto* imprime = nomme(new QPushButton(QStringLiteral("Print"), this), "imprime_residus");
    auto* ferme = new QPushButton(QStringLiteral("Close"), this);
    rangee->addStretch();
    rangee->addWidget(imprime);
    rangee->addWidget(ferme);
    colonne->addLayout(rangee);
    connect(imprime, &QPushButton::clicked, this, [this] {
        trace_->actualise();
        imprime_fenetre(*this, p_.dialogues());
    });
    connect(ferme, &QPushButton::clicked, this, &QWidget::close);
    ferme_par_echap(*this);
    if (!retient_geometrie(*this, QStringLiteral("residus"))) resize(760, 420);
}

void FenetreResidus::redessine() {
    trace_->redessine();
}

} // namespace kovrin::fenetres
