#pragma once
// The help window: the HTML help shipped with the program, opened at the
// topic of a help context (1 the whole program, 2 measured reflections, 3 the
// cell, 4 the profile window and the peak search, 5 the selection and the
// refinement).
#include <QWidget>

#include <filesystem>

class QTextBrowser;

namespace kovrin::fenetres {

class FenetreAide : public QWidget {
    Q_OBJECT
public:
    explicit FenetreAide(const std::filesystem::path& dossier_aide);
    void montre_contexte(int contexte);
    QTextBrowser* navigateur;

private:
    std::filesystem::path dossier_;
};

} // namespace kovrin::fenetres
