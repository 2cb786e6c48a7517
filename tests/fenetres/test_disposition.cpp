// The windows as pictures: "kovrin2 --capture" on the silicon example, and
// the layout of every window after that road (no widget drawn over another).
#include "fenetres/capture.h"
#include "fenetres/dialogue_indexation.h"
#include "fenetres/fenetre_aide.h"
#include "fenetres/fenetre_residus.h"
#include "fenetres/tfabout.h"
#include "fenetres/tfexcel.h"
#include "fenetres/tflilambda.h"
#include "fenetres/tform7.h"
#include "fenetres/visionneuse.h"
#include "outils_fenetres.h"

#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QScrollBar>
#include <QTableWidget>

#include <set>
#include <vector>

using namespace kovrin;
using namespace kovrin::fenetres;

namespace {

class Disposition : public test::Fenetres {
  protected:
    // The silicon road as --capture takes it, pictures into `images`.
    int capture() {
        const Capture c{dossier.chemin() / "images",
                        {test::source("examples/cubique/silicium.prn"),
                         test::source("examples/cubique/silicium.cry")}};
        return capture_fenetres(programme, c);
    }

    // What `verifie` finds in each tab of the main window and in every other
    // window a user opens, each shown in turn.
    std::vector<std::string>
    dans_chaque_fenetre(std::vector<std::string> (*verifie)(const QWidget&)) {
        std::vector<std::string> trouves;
        const auto ajoute = [&](const QWidget& w, const std::string& ou) {
            QApplication::processEvents();
            for (const std::string& t : verifie(w))
                trouves.push_back(ou + ": " + t);
        };
        Tform1& f = programme.form1();
        for (int onglet = 0; onglet < 4; ++onglet) {
            f.montre_onglet(onglet);
            ajoute(f, "tab " + std::to_string(onglet + 1));
        }
        QWidget* fenetres[] = {&programme.form6(),     &programme.form7(),  &programme.flilambda(),
                               &programme.fexcel(),    &programme.fabout(), &programme.residus(),
                               &programme.indexation()};
        programme.profil.panneau_recherche = programme.profil.panneau_genres = true; // both open
        programme.montre(Rafraichissement{Change::vues});
        for (QWidget* w : fenetres) {
            w->show();
            ajoute(*w, w->metaObject()->className());
            w->hide();
        }
        return trouves;
    }

    QImage image(const char* nom) {
        return QImage(QString::fromStdString((dossier.chemin() / "images" / nom).string()));
    }
};

// A widget named by class, text and name.
std::string nom(const QWidget* e) {
    QString t = e->property("text").toString();
    if (t.isEmpty()) t = e->property("title").toString();
    return std::string(e->metaObject()->className()) + " '" + t.toStdString() + "' " +
           e->objectName().toStdString();
}

// Visible children of `w` whose rectangles meet.
std::vector<std::string> chevauchements(const QWidget& w) {
    std::vector<std::string> r;
    const auto enfants = w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i < enfants.size(); ++i) {
        const QWidget* a = enfants[i];
        if (!a->isVisible() || a->isWindow()) continue;
        for (qsizetype j = i + 1; j < enfants.size(); ++j) {
            const QWidget* b = enfants[j];
            if (b->isVisible() && !b->isWindow() && a->geometry().intersects(b->geometry()))
                r.push_back(nom(a) + " over " + nom(b) + " in " + nom(&w));
        }
        const auto dessous = chevauchements(*a);
        r.insert(r.end(), dessous.begin(), dessous.end());
    }
    return r;
}

bool tient(const QLayout& l, const QWidget* e) {
    for (int i = 0; i < l.count(); ++i)
        if (l.itemAt(i)->widget() == e ||
            (l.itemAt(i)->layout() && tient(*l.itemAt(i)->layout(), e)))
            return true;
    return l.menuBar() == e;
}

// Visible widgets of `w` that their panel's layout does not place: left at
// its corner, at their first size, whatever the window's size.
std::vector<std::string> hors_disposition(const QWidget& w) {
    std::vector<std::string> r;
    for (const QWidget* e : w.findChildren<QWidget*>())
        if (const QLayout* l = e->parentWidget()->layout();
            l && e->isVisible() && !e->isWindow() && !tient(*l, e))
            r.push_back(nom(e) + " in " + nom(e->parentWidget()));
    return r;
}

} // namespace

// Visible tables of `w` that need a horizontal scroll to show every column.
std::vector<std::string> colonnes_cachees(const QWidget& w) {
    std::vector<std::string> r;
    for (const QTableWidget* t : w.findChildren<QTableWidget*>())
        if (t->isVisibleTo(&w) && t->columnCount() > 0 && t->horizontalScrollBar()->maximum() > 0)
            r.push_back(t->objectName().toStdString());
    return r;
}

// Tab passes the boxes the user only reads; a file shown twice keeps one
// viewer; Escape closes the help, the residual plot and the listing viewer as
// it closes a dialog.
TEST_F(Disposition, TabSkipsReadOnlyBoxesAndEscapeClosesTheViewers) {
    ASSERT_EQ(capture(), 12);
    Tform1& f = programme.form1();
    f.show();
    active(f);
    f.montre_onglet(3);
    test::enfant<QLineEdit>(f, "initial_lambda").setFocus(Qt::TabFocusReason);
    std::set<QWidget*> parcourus;
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        parcourus.insert(QApplication::focusWidget());
        const auto* boite = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        EXPECT_FALSE(boite && boite->isReadOnly()) << boite->objectName().toStdString();
    }
    EXPECT_GT(parcourus.size(), 10u) << "Tab went round the window";
    for (int fois = 0; fois < 2; ++fois)
        programme.montre_fichier(dossier.chemin() / "kovrin.out");
    std::vector<QWidget*> visionneuses = {&programme.aide(), &programme.residus()};
    for (QWidget* t : QApplication::topLevelWidgets())
        if (qobject_cast<Visionneuse*>(t) && t->isVisible()) visionneuses.push_back(t);
    EXPECT_EQ(visionneuses.size(), 3u) << "a file shown again keeps its one viewer";
    for (QWidget* v : visionneuses) {
        v->show();
        active(*v);
        QTest::keyClick(v, Qt::Key_Escape);
        EXPECT_FALSE(v->isVisible()) << v->metaObject()->className();
    }
}

namespace {

// Texts of `w` and its visible children that do not fit the width they are given.
std::vector<std::string> textes_coupes(const QWidget& w) {
    std::vector<std::string> r;
    const auto note = [&](const QWidget& e, const QString& t, int besoin, int place) {
        if (besoin > place)
            r.push_back(std::string(e.metaObject()->className()) + " '" + t.toStdString() + "' " +
                        e.objectName().toStdString() + ": " + std::to_string(besoin) + " > " +
                        std::to_string(place));
    };
    for (const QWidget* e : w.findChildren<QWidget*>()) {
        if (!e->isVisible()) continue;
        const QFontMetrics fm = e->fontMetrics();
        if (const auto* l = qobject_cast<const QLabel*>(e);
            l && !l->wordWrap() && l->pixmap().isNull())
            note(*l, l->text(), fm.horizontalAdvance(l->text()), l->contentsRect().width());
        else if (const auto* b = qobject_cast<const QAbstractButton*>(e); b && !b->text().isEmpty())
            note(*b, b->text(), b->sizeHint().width(), b->width() + 1);
        else if (const auto* c = qobject_cast<const QLineEdit*>(e))
            note(*c, c->text(), fm.horizontalAdvance(c->text()) + 6, c->contentsRect().width());
        else if (const auto* h = qobject_cast<const QHeaderView*>(e);
                 h && h->orientation() == Qt::Horizontal)
            for (int s = 0; s < h->count(); ++s) {
                const QString t = h->model()->headerData(s, Qt::Horizontal).toString();
                if (!h->isSectionHidden(s)) note(*h, t, h->sectionSizeHint(s), h->sectionSize(s));
            }
    }
    return r;
}

} // namespace

// The whole silicon road, then one picture per window; after it, at the
// first-run size, in every tab and window a user opens: every widget has its
// place in its panel's layout, none is drawn over another of the same panel,
// every table shows all its columns, and every label, button, box and column
// header shows its whole text (the test runs again at 144 dpi).
TEST_F(Disposition, CaptureThenNothingOverlapsHidesOrClips) {
    ASSERT_EQ(capture(), 12);
    ASSERT_TRUE(programme.espace.affinement_ok);
    // As kovrin-batch refines the same files (see the README).
    EXPECT_NEAR(programme.espace.maille_affinee[0], 5.43123, 1e-5);
    const char* noms[] = {"principale-1.png",  "principale-2.png", "principale-3.png",
                          "principale-4.png",  "diagramme.png",    "profil.png",
                          "longueur-onde.png", "export.png",       "apropos.png",
                          "aide.png",          "residus.png",      "indexation.png"};
    for (const char* fichier : noms) {
        const QImage i = image(fichier);
        ASSERT_FALSE(i.isNull()) << fichier;
        EXPECT_GT(i.width(), 150) << fichier;
    }
    EXPECT_NE(image("principale-1.png"), image("principale-4.png"));
    EXPECT_NE(image("principale-2.png"), image("principale-3.png"));
    EXPECT_FALSE(programme.flilambda().isVisible()) << "the dialog pictured is put away";
    EXPECT_FALSE(programme.form7().isVisible());
    for (auto* verifie : {hors_disposition, chevauchements, colonnes_cachees, textes_coupes})
        for (const auto& c : dans_chaque_fenetre(verifie))
            ADD_FAILURE() << c;
}
