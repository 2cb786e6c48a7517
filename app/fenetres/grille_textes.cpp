#include "fenetres/grille_textes.h"

#include "fenetres/dialogues_qt.h"
#include "fenetres/peintre.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace kovrin::fenetres {

namespace {

// Paints a cell in the colours the core gives its row; the text is centred
// vertically, or 2 pixels from the top-left corner when the core says so.
class PeintureCellules : public QStyledItemDelegate {
  public:
    explicit PeintureCellules(GrilleTextes& grille)
        : QStyledItemDelegate(&grille), grille_(grille) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const PeintureLigne peinture = grille_.peinture_de(index.row() + 1);
        p->save();
        p->fillRect(option.rect, couleur_qt(peinture.fond));
        p->setPen(couleur_qt(peinture.texte));
        p->setFont(option.font);
        const QString texte = index.data().toString();
        const Qt::Alignment alignement =
            peinture.coin ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter;
        p->drawText(option.rect.adjusted(2, peinture.coin ? 2 : 0, -1, 0), alignement, texte);
        p->restore();
    }

  private:
    const GrilleTextes& grille_;
};

} // namespace

GrilleTextes::GrilleTextes(std::vector<int> largeurs, bool editable, QWidget* parent)
    : QTableWidget(0, static_cast<int>(largeurs.size()), parent), largeurs_(std::move(largeurs)) {
    QFont police = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    police.setPointSize(std::max(police.pointSize() - 1, 7));
    setFont(police);
    setItemDelegate(new PeintureCellules(*this));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setEditTriggers(editable ? QAbstractItemView::AllEditTriggers
                             : QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(editable); // Tab leaves a grid the user only reads
    horizontalHeader()->setStretchLastSection(true);
    ajuste_colonnes();
}

void GrilleTextes::montre(const Grille& g) {
    const QSignalBlocker silence(this);
    if (!g.lignes.empty()) {
        setColumnCount(static_cast<int>(g.lignes.front().size()));
        QStringList entetes;
        for (const std::string& t : g.lignes.front())
            entetes << qs(t);
        setHorizontalHeaderLabels(entetes);
    }
    if (g.nb_lignes > 0) setRowCount(std::max(g.nb_lignes - 1, 0));
    const int donnees = std::max(static_cast<int>(g.lignes.size()) - 1, 0);
    if (rowCount() < donnees) setRowCount(donnees);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            const QString t = qs(g.cellule(r + 1, c));
            if (QTableWidgetItem* i = item(r, c))
                i->setText(t);
            else
                setItem(r, c, new QTableWidgetItem(t));
        }
    ajuste_colonnes();
    viewport()->update();
}

void GrilleTextes::peinture(std::function<PeintureLigne(int)> p) {
    peinture_ = std::move(p);
}

PeintureLigne GrilleTextes::peinture_de(int ligne) const {
    return peinture_ ? peinture_(ligne) : PeintureLigne{};
}

QString GrilleTextes::cellule(int ligne, int colonne) const {
    const QTableWidgetItem* i = item(ligne - 1, colonne);
    return i ? i->text() : QString();
}

// Every column at least as wide as its texts; the grid would like to show them all.
void GrilleTextes::ajuste_colonnes() {
    int total = 0;
    for (int c = 0; c < columnCount(); ++c) {
        const auto colonne = static_cast<std::size_t>(c);
        const int voulue =
            std::max(colonne < largeurs_.size() ? largeurs_[colonne] : 0,
                     std::max(sizeHintForColumn(c), horizontalHeader()->sectionSizeHint(c)));
        setColumnWidth(c, voulue);
        total += voulue;
    }
    largeur_voulue_ = total + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    updateGeometry();
}

void GrilleTextes::changeEvent(QEvent* e) {
    QTableWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) ajuste_colonnes();
}

QSize GrilleTextes::sizeHint() const {
    return {largeur_voulue_, QTableWidget::sizeHint().height()};
}

} // namespace kovrin::fenetres
