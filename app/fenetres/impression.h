#pragma once
// "Print screen": a picture of a window printed in landscape, through the
// print dialog (a printer or a PDF file), or straight into a PDF file.
#include "commun/dialogues.h"

#include <QString>

class QWidget;

namespace kovrin::fenetres {

// Asks for the printer in the print dialog, landscape preselected.
void imprime_fenetre(QWidget& fenetre, Dialogues& d);
// The picture of `fenetre` in a landscape PDF page; false when the file cannot be written.
bool imprime_pdf(QWidget& fenetre, const QString& fichier);

} // namespace kovrin::fenetres
