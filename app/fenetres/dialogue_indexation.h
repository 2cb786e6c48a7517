#pragma once
// "Index": the search for the cell of the measured lines, run off the window
// thread with its progress and a Cancel, the table of the solutions, and "Use",
// which hands the chosen one to the cell tab.
#include "indexation/indexation.h"

#include <QDialog>
#include <QElapsedTimer>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace kovrin::fenetres {

class Programme;

class DialogueIndexation : public QDialog {
    Q_OBJECT
  public:
    explicit DialogueIndexation(Programme& programme);
    ~DialogueIndexation() override;

    // Shown for the lines now measured; the solutions of another list go.
    void ouvre();
    bool en_cours() const { return fil_.joinable(); }

  protected:
    void reject() override;

  private:
    QWidget* construit_options();
    QWidget* construit_table();
    OptionsIndexation options() const;
    void lance();
    void annule();
    void montre_progres(const ProgresIndexation& p);
    void avance_barre();
    void fin(ResultatIndexation r, OptionsIndexation o);
    void utilise();
    void arrete_fil();
    void etat_boutons();

    Programme& p_;
    std::array<QCheckBox*, 7> systemes_{};
    QDoubleSpinBox *volume_, *duree_;
    QSpinBox *non_indexees_, *fils_;
    QCheckBox* zero_;
    QProgressBar* barre_;
    QLabel* etat_;
    QTableWidget* table_;
    QPushButton *cherche_, *annule_, *utilise_, *ferme_;
    std::vector<SolutionIndexation> solutions_;
    std::thread fil_;
    std::atomic<bool> annulation_{false};
    double duree_max_ = 0;
    QElapsedTimer chrono_;
    QTimer* minuterie_;
};

} // namespace kovrin::fenetres
