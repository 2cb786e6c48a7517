#include "fenetres/impression.h"

#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

namespace kovrin::fenetres {

namespace {

// The window's picture scaled to the page, keeping its proportions.
bool imprime(QWidget& fenetre, QPrinter& imprimante) {
    const QPixmap image = fenetre.grab();
    QPainter peintre;
    if (!peintre.begin(&imprimante)) return false;
    const QRect page = peintre.viewport();
    const QSize taille = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    peintre.setViewport(page.x(), page.y(), taille.width(), taille.height());
    peintre.setWindow(image.rect());
    peintre.drawPixmap(0, 0, image);
    return peintre.end();
}

} // namespace

void imprime_fenetre(QWidget& fenetre, Dialogues& d) {
    QPrinter imprimante(QPrinter::HighResolution);
    imprimante.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialogue(&imprimante, &fenetre);
    if (dialogue.exec() != QDialog::Accepted) return;
    if (!imprime(fenetre, imprimante)) d.erreur("The picture could not be printed");
}

bool imprime_pdf(QWidget& fenetre, const QString& fichier) {
    QPrinter imprimante(QPrinter::HighResolution);
    imprimante.setOutputFormat(QPrinter::PdfFormat);
    imprimante.setOutputFileName(fichier);
    imprimante.setPageOrientation(QPageLayout::Landscape);
    return imprime(fenetre, imprimante);
}

} // namespace kovrin::fenetres
