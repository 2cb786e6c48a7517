#pragma once
// The side panel of the main window: "Current values" (λ and the angle range,
// with "Change"), and the "Peak data" and "Profile" panels that describe the
// files taken in.
#include "interface/affichages.h"

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kovrin::fenetres {

class Programme;

class PanneauValeurs : public QWidget {
    Q_OBJECT
  public:
    explicit PanneauValeurs(Programme& programme);

    void montre(const Rafraichissement& r);

  protected:
    bool eventFilter(QObject* objet, QEvent* e) override;

  private:
    struct Donnees {
        QGroupBox* boite;
        std::array<QLabel*, 6> textes;
        std::array<QLabel*, 2> etiquettes;
    };
    void construit_valeurs();
    Donnees construit_donnees(const char* titre, const char* nom);
    void relie_saisies();
    void montre_libelles(const Libelles& l);
    void montre_donnees();
    void montre_valeurs_courantes(const OngletMaille& o);

    Programme& p_;
    QLineEdit *lambda_, *angle1_, *angle2_;
    QLabel *etiquette_angle1_, *etiquette_angle2_;
    QPushButton* change_;
    Donnees pics_{}, profil_{};
};

} // namespace kovrin::fenetres
