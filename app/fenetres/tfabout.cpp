#include "fenetres/tfabout.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovrin::fenetres {

Tfabout::Tfabout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About KOVRIN"));
    auto* dans = new QVBoxLayout(this);
    memo = new QPlainTextEdit(this);
    memo->setReadOnly(true);
    memo->setStyleSheet(QStringLiteral("background-color: rgb(255,255,0);"));
    memo->setPlainText(QStringLiteral(
        "KOVRIN V2 (17 May 2001), for Linux\n\n"
        "Least-squares refinement of unit-cell parameters from the Bragg angles of a "
        "powder X-ray diffraction pattern: zero shift or sample eccentricity, "
        "wavelength and the free cell parameters, with their standard errors.\n\n"
        "Windows built with Qt; space-group operators from gemmi's tables.\n"
        "The KOVRIN developers."));
    dans->addWidget(memo);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    dans->addWidget(ok);
    resize(460, 260);
}

} // namespace kovrin::fenetres
