#pragma once
// The second tab of the main window, "Initial cell parameters": the crystal
// system, the six cell fields, the two lists of space groups and the table of
// the calculated reflections.
#include "fenetres/pages_principale.h"
#include "interface/affichages.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QFocusEvent;
class QGroupBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace kovrin::fenetres {

class GrilleTextes;
class Programme;

class PageMaille : public QWidget {
    Q_OBJECT
  public:
    PageMaille(Programme& programme, const ActionsPrincipales& actions);
    ~PageMaille() override;

    void montre(const Rafraichissement& r);
    // The focus to the cell field a command asks for (1 ... 6).
    void montre_focus(const Rafraichissement& r);
    void colore(const QString& fond);

  protected:
    bool eventFilter(QObject* objet, QEvent* e) override;

  private:
    void construit_boutons(QVBoxLayout& gauche, const ActionsPrincipales& actions);
    void construit_cellule();
    void construit_champs(QGridLayout& grille);
    void construit_calcule();
    void relie_listes();
    void montre_onglet(const OngletMaille& o);
    bool entree_voulue(const QFocusEvent& e) const;

    Programme& p_;
    QPlainTextEdit* memo_;
    QPushButton *clavier_, *fichier_, *sauve_, *efface_, *indexe_, *calc_, *ed_print_;
    QGroupBox *panneau_cellule_, *panneau_calcule_;
    QListWidget *systemes_, *hm_, *orsab_;
    std::array<QLineEdit*, 6> champs_{};
    QLabel* titre_table_;
    GrilleTextes* tableau_;
    QPointer<QWidget> focus_precedent_;
    bool en_commande_ = false;
};

} // namespace kovrin::fenetres
