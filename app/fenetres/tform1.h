#pragma once
// The main window: four tabs in the order of the work (measured reflections,
// initial cell parameters, selection of the reflections, cell refinement), the
// side panel ("Current values", "Peak data", "Profile"), and the main menu.
// Each tab and the panel own their widgets and show their part of a command's
// answer; this window holds the menu, its actions and the window's events.
#include "fenetres/pages_principale.h"
#include "interface/affichages.h"

#include <QMainWindow>

class QFrame;
class QTabWidget;

namespace kovrin::fenetres {

class PageAffinement;
class PageMaille;
class PageMesures;
class PageSelection;
class PanneauValeurs;
class Programme;

class Tform1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit Tform1(Programme& programme);
    ~Tform1() override;

    // Shows the part of a command's answer that belongs to this window.
    void montre(const Rafraichissement& r);
    // Shows tab `onglet` (0 ... 3), as a click on it does.
    void montre_onglet(int onglet);

  protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    QTabWidget* onglets;
    void construit_menus();
    void construit_menu_ouvrir(QMenu& fichier);
    void construit_menu_sauver(QMenu& fichier);
    void construit_menu_effacer();
    void construit_menu_editer();
    void construit_menu_recents(QMenu& fichier);
    void change_onglet();
    template <typename Commande> QAction* action(const QString& texte, Commande commande);

    Programme& p_;
    ActionsPrincipales actions_;
    QFrame* cadre_onglets;
    PageMesures* mesures_;
    PageMaille* maille_;
    PageSelection* selection_;
    PageAffinement* affinement_;
    PanneauValeurs* valeurs_;
    QAction *annule_, *refait_;
    bool placee_ = false;
};

} // namespace kovrin::fenetres
