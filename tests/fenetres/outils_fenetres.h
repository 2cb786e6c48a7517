#pragma once
// The whole program, offscreen, in a fresh working directory, with its message
// boxes and file dialogs replaced by recorders; and small helpers that act on
// widgets as a user does.
#include "commun/dialogues.h"
#include "dossier_temporaire.h"
#include "fenetres/programme.h"
#include "fenetres/tform1.h"
#include "fenetres/tform6.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QColor>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QSettings>
#include <QString>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace kovrin::test {

class Fenetres : public ::testing::Test {
  protected:
    Fenetres() : programme(dossier.chemin(), &dialogues, &choix) {}

    // Each test starts from the settings of a first run.
    struct ReglagesOublies {
        ReglagesOublies() { QSettings().clear(); }
    } reglages;
    DossierTemporaire dossier;
    DialoguesEnregistres dialogues;
    ChoixFichierEnregistre choix;
    fenetres::Programme programme;

    // The diagram, then the main window, shown as at start: the main window
    // keeps the activation.
    void montre_au_depart() {
        programme.form6().show();
        programme.form1().show();
        active(programme.form1());
    }

    // `fenetre` made the active window, as a click on it does.
    static void active(QWidget& fenetre) {
        QApplication::setActiveWindow(&fenetre);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    }
};

// A file of the repository (examples, data) by its path from the root.
inline std::filesystem::path source(const std::string& chemin) {
    return std::filesystem::path(KOVRIN_SOURCE_DIR) / chemin;
}

// The first action of `fenetre` (menus and pop-up menus included) or of the
// menu `fenetre` with this text.
inline QAction* action(QWidget& fenetre, const QString& texte) {
    for (QAction* a : fenetre.findChildren<QAction*>() + fenetre.actions())
        if (a->text() == texte) return a;
    ADD_FAILURE() << "no action " << texte.toStdString();
    return nullptr;
}

// The widget of `fenetre` named `nom`: windows keep their widgets to
// themselves and name those a test drives. A missing one fails the test.
template <typename T> T& enfant(QWidget& fenetre, const char* nom) {
    if (T* w = fenetre.findChild<T*>(QString::fromUtf8(nom))) return *w;
    ADD_FAILURE() << "no widget named " << nom;
    throw std::runtime_error(nom);
}

inline void declenche(QWidget& fenetre, const QString& texte) {
    if (QAction* a = action(fenetre, texte)) a->trigger();
}

// A click on `bouton`, then the entry `texte` of the menu it pops up; a button
// that pops up no menu fails the test.
inline void choisit_dans_menu(QAbstractButton& bouton, const QString& texte) {
    QTest::mouseClick(&bouton, Qt::LeftButton);
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_TRUE(menu);
    menu->close();
    declenche(*menu, texte);
}

// The colour painted near the right edge of a cell (row and column from 0),
// the row scrolled into view first.
inline QColor couleur_cellule(QAbstractItemView& vue, int ligne, int colonne) {
    const QModelIndex index = vue.model()->index(ligne, colonne);
    vue.scrollTo(index);
    const QImage image = vue.viewport()->grab().toImage();
    const QRect cellule = vue.visualRect(index);
    return image.pixelColor(cellule.right() - 2, cellule.center().y());
}

// A click on row `ligne` (from 0) of a list or table, as the mouse does it.
inline void clique_ligne(QAbstractItemView& vue, int ligne, int colonne = 0) {
    const QModelIndex index = vue.model()->index(ligne, colonne);
    vue.scrollTo(index);
    QTest::mouseClick(vue.viewport(), Qt::LeftButton, {}, vue.visualRect(index).center());
}

inline void clique_element(QListWidget& liste, const QString& texte) {
    const auto trouves = liste.findItems(texte, Qt::MatchExactly);
    ASSERT_FALSE(trouves.isEmpty()) << texte.toStdString();
    clique_ligne(liste, liste.row(trouves.front()));
}

// Files dragged from a file manager and dropped in the middle of a shown
// window, delivered as the window system delivers them.
inline void depose(QWidget& fenetre, const std::vector<std::filesystem::path>& fichiers) {
    QMimeData donnees;
    QList<QUrl> urls;
    for (const auto& f : fichiers)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(f.string())));
    donnees.setUrls(urls);
    const QPointF centre = QPointF(fenetre.width(), fenetre.height()) / 2;
    QDragEnterEvent entre(centre.toPoint(), Qt::CopyAction, &donnees, Qt::LeftButton, {});
    QApplication::sendEvent(fenetre.windowHandle(), &entre);
    if (!entre.isAccepted()) return;
    QDropEvent lache(centre, Qt::CopyAction, &donnees, Qt::LeftButton, {});
    QApplication::sendEvent(fenetre.windowHandle(), &lache);
}

// Types `texte` into an edit that takes the focus first and gives it up after,
// as a user who clicks into it, types and leaves with Tab.
inline void tape(QLineEdit& edit, const QString& texte) {
    edit.setFocus(Qt::MouseFocusReason);
    edit.selectAll();
    QTest::keyClicks(&edit, texte);
    QTest::keyClick(&edit, Qt::Key_Tab);
}

} // namespace kovrin::test
