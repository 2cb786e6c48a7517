#pragma once
// The main window: four tabs in the order of the work (measured reflections,
// initial cell parameters, selection of the reflections, cell refinement), the
// panels "Current values", "Peak data" and "Profile", and the main menu. It
// gathers what the user typed, calls one core command per action and shows the
// answer.
#include "interface/affichages.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class QButtonGroup;
class QCheckBox;
class QFocusEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace kovrin::fenetres {

class GrilleTextes;
class Programme;

class Tform1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit Tform1(Programme& programme);
    ~Tform1() override;

    // Shows the part of a command's answer that belongs to this window.
    void montre(const Rafraichissement& r);
    // What the user typed in the edits, lists and boxes, copied into the
    // main window's state for the next command.
    void rassemble();

    // Controls the tests and the other windows reach.
    QTabWidget* onglets;
    GrilleTextes *grille_mesures, *tableau_calcule, *grille_mesures_selection,
        *grille_calculees_selection, *grille_selection, *tableau_avant, *tableau_apres;
    QLineEdit *edit_lambda, *edit_angle1, *edit_angle2, *edit_tolerance;
    std::array<QLineEdit*, 6> champs_maille{};
    QListWidget *liste_systemes, *liste_hm, *liste_orsab;
    std::array<QLineEdit*, 8> initial{}, affine{}, sigmas{};
    std::array<QCheckBox*, 8> a_affiner{}; // a ... gamma, shift, lambda
    QLineEdit *ecart_avant, *ecart_apres, *m20, *fn;
    QRadioButton *mode_theta, *mode_2theta;
    QPushButton *bouton_change, *bouton_calc, *bouton_ed_print, *bouton_auto,
        *bouton_efface_selection;
    QPushButton *clavier_pics, *fichier_pics, *diagramme_pics, *efface_pics, *sauve_pics;
    QPushButton *clavier_maille, *fichier_maille, *sauve_maille, *efface_maille;
    QToolButton *lance, *remplace, *restaure, *rapport, *exporte, *imprime, *depart_lineaire;
    QGroupBox *panneau_decalage, *panneau_pics, *panneau_profil, *panneau_mesures;
    QRadioButton* decalage_excentricite;
    QPushButton* ok_decalage;
    QMenu *menu_pics, *menu_maille;

  protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    void construit_menus();
    QWidget* construit_onglet_mesures();
    QWidget* construit_onglet_maille();
    QWidget* construit_onglet_selection();
    QWidget* construit_onglet_affinement();
    QWidget* construit_table_parametres();
    QWidget* construit_panneaux();
    void relie_saisies();
    void relie_grilles();
    void change_onglet();

    void montre_grilles(const Rafraichissement& r);
    void montre_panneaux();
    void montre_libelles(const Libelles& l);
    void montre_onglet_maille(const OngletMaille& o);
    void montre_valeurs_courantes(const OngletMaille& o);
    void montre_onglet_affinement(const OngletAffinement& o);
    void montre_visibilites();
    void repeint_lignes_courantes();
    bool entree_voulue(const QObject* champ, const QFocusEvent& e) const;

    Programme& p_;
    QFrame* cadre_onglets;
    std::array<QPlainTextEdit*, 3> memos{};
    QLabel *titre_table, *etiquette_angle1, *etiquette_angle2, *unite_tolerance,
        *etiquette_tolerance, *etiquette_decalage;
    std::array<QLabel*, 6> panneau_pics_textes{}, panneau_profil_textes{};
    std::array<QLabel*, 2> etiquettes_pics{}, etiquettes_profil{};
    QGroupBox *panneau_cellule, *panneau_calcule;
    QPointer<QWidget> focus_precedent_;
    bool en_commande_ = false;
    bool placee_ = false;
};

} // namespace kovrin::fenetres
