#include "fenetres/controles.h"

#include "fenetres/dialogues_qt.h"
#include "fichiers/formats_profil.h"

#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QShortcut>
#include <QSpinBox>
#include <QToolButton>
#include <QUrl>

namespace kovrin::fenetres {

QString style_fond(Couleur c) {
    return QStringLiteral("background-color: rgb(%1,%2,%3);").arg(c.r).arg(c.g).arg(c.b);
}

void ajoute_formats_profil(QMenu& menu, const std::map<int, const char*>& legendes,
                           const std::function<void(int)>& ouvre) {
    for (const FormatFichierProfil& f : formats_profil) {
        const auto legende = legendes.find(f.code);
        const QString texte = legende != legendes.end() ? QString::fromUtf8(legende->second)
                                                        : QStringLiteral("&") + qs(texte_filtre(f));
        QObject::connect(menu.addAction(texte), &QAction::triggered, &menu,
                         [ouvre, code = f.code] { ouvre(code); });
    }
}

QToolButton* bouton_bulle(const QString& texte, QStyle::StandardPixmap image, const QString& bulle,
                          QWidget* parent) {
    auto* b = new QToolButton(parent);
    if (texte.isEmpty())
        b->setIcon(parent->style()->standardIcon(image));
    else
        b->setText(texte);
    b->setIconSize(QSize(24, 24));
    b->setMinimumSize(32, 32);
    b->setToolTip(bulle);
    b->setAccessibleName(bulle);
    return b;
}

QSpinBox* fleches(int minimum, int maximum, int pas, int depart, const QString& bulle,
                  QWidget* parent) {
    auto* f = new QSpinBox(parent);
    f->setRange(minimum, maximum);
    f->setSingleStep(pas);
    f->setValue(depart);
    f->setToolTip(bulle);
    f->setAccessibleName(bulle);
    return f;
}

std::vector<std::filesystem::path> fichiers_deposes(const QMimeData& donnees) {
    std::vector<std::filesystem::path> fichiers;
    for (const QUrl& url : donnees.urls())
        if (url.isLocalFile()) fichiers.push_back(chemin(url.toLocalFile()));
    return fichiers;
}

void lecture_seule(QLineEdit& boite) {
    boite.setReadOnly(true);
    boite.setFocusPolicy(Qt::ClickFocus);
}

void ferme_par_echap(QWidget& fenetre) {
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), &fenetre), &QShortcut::activated,
                     &fenetre, &QWidget::close);
}

namespace {

class GardeGeometrie : public QObject {
  public:
    GardeGeometrie(QWidget& fenetre, QString cle) : QObject(&fenetre), cle_(std::move(cle)) {
        fenetre.installEventFilter(this);
    }
    bool eventFilter(QObject* objet, QEvent* e) override {
        if (e->type() == QEvent::Hide || e->type() == QEvent::Close)
            QSettings().setValue(cle_, static_cast<QWidget*>(objet)->saveGeometry());
        return false;
    }

  private:
    QString cle_;
};

} // namespace

bool retient_geometrie(QWidget& fenetre, const QString& cle) {
    new GardeGeometrie(fenetre, cle);
    const QByteArray geometrie = QSettings().value(cle).toByteArray();
    return !geometrie.isEmpty() && fenetre.restoreGeometry(geometrie);
}

void sur_saisie_finie(QLineEdit& champ, std::function<void(const Saisie&)> prend) {
    QObject::connect(&champ, &QLineEdit::editingFinished, &champ,
                     [&champ, prend = std::move(prend)] {
                         if (!champ.isModified()) return;
                         champ.setModified(false);
                         prend(Saisie::de_texte(texte(champ.text())));
                     });
}

void suit_saisie(QLineEdit& champ, Saisie& valeur) {
    QObject::connect(&champ, &QLineEdit::textEdited, &champ,
                     [&valeur](const QString& t) { valeur = Saisie::de_texte(texte(t)); });
}

} // namespace kovrin::fenetres
