#pragma once
// The panels of the automatic peak search in the profile window: "Peak
// Search parameters" (the three track bars and their boxes, "Search",
// "Close", the contamination lines L1 and L2, the colour legend), and "Select
// the peaks to be kept" (one box per kind of peak, OK).
#include "profil/recherche_pics.h"
#include "profil/recherche_statistique.h"

#include <QGroupBox>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace kovrin::fenetres {

class Programme;

// Widgets a test drives are named: "seuil", "largeur_min", "largeur_max" (the
// track bars), "texte_seuil", "texte_min", "texte_max" (their boxes, which
// take typed values), "methode_recherche", "cherche".
class PanneauRecherche : public QGroupBox {
    Q_OBJECT
  public:
    PanneauRecherche(Programme& programme, QWidget* parent);

    void montre_contamination(const ChampsContamination& c);
    void montre_methode(MethodeRecherche m);
    // The bars and boxes at the workspace's limits.
    void montre_limites(const RecherchePics& r);
    // The focus to the first box, as the panel opens.
    void prend_focus();

    std::array<QLineEdit*, 4> champs_contamination{}; // L1 wavelength and %, L2 wavelength and %

  private:
    QWidget* construit_curseurs();
    QWidget* construit_contamination();
    QWidget* construit_legende();
    void relie(Programme& p);
    void relie_limite(Programme& p, LimiteRecherche quelle);

    std::array<QSlider*, 3> curseurs_{}; // indexed by LimiteRecherche
    std::array<QLineEdit*, 3> boites_{};
    QComboBox* methode_ = nullptr; // "Second derivative" / "Counting statistics"
    QPushButton *cherche_ = nullptr, *ferme_ = nullptr;
};

class PanneauGenres : public QGroupBox {
    Q_OBJECT
  public:
    PanneauGenres(Programme& programme, QWidget* parent);

    std::array<bool, nb_genres_raie> gardes() const;

    std::array<QCheckBox*, nb_genres_raie> cases{};
    QPushButton* ok;
};

} // namespace kovrin::fenetres
