#pragma once
// A string grid showing the texts the core builds (Grille): row 0 of the core
// is the header, data row r is table row r - 1. Cells are drawn in a fixed-
// pitch font, since the core aligns its numbers with blanks; each row is
// painted as the core says.
#include "commun/grille.h"
#include "interface/peinture.h"

#include <QTableWidget>

#include <functional>
#include <vector>

namespace kovrin::fenetres {

class GrilleTextes : public QTableWidget {
    Q_OBJECT
public:
    // `largeurs`: the least width of each column, pixels.
    GrilleTextes(std::vector<int> largeurs, bool editable, QWidget* parent = nullptr);

    // Shows the texts of `g`; a grid with nb_lignes 0 keeps its row count.
    void montre(const Grille& g);
    // The core's painting of data row `ligne` (from 1).
    void peinture(std::function<PeintureLigne(int ligne)> p);
    PeintureLigne peinture_de(int ligne) const;
    // Text of data row `ligne` (from 1), column `colonne`.
    QString cellule(int ligne, int colonne) const;
    QSize sizeHint() const override;

protected:
    // The columns follow a font or style that changed after the texts came.
    void changeEvent(QEvent* e) override;

private:
    void ajuste_colonnes();

    std::vector<int> largeurs_;
    std::function<PeintureLigne(int)> peinture_;
    int largeur_voulue_ = 0;
};

} // namespace kovrin::fenetres
