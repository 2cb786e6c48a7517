#pragma once
// The picture of a plot: the core's drawing for the picture's current size,
// kept as an image so that the pointer's marks (cursor line, rubber band) are
// drawn over it without computing the plot again. The mouse is handed on in
// the core's terms: a button and a pixel.
#include "profil/trace.h"

#include <QPixmap>
#include <QWidget>

#include <functional>
#include <optional>

namespace kovrin::fenetres {

class ImageTrace : public QWidget {
    Q_OBJECT
  public:
    // `dessin` computes the plot of a picture of the given width and height.
    ImageTrace(std::function<Dessin(int largeur, int hauteur)> dessin, QWidget* parent);

    // The plot is computed again before the next painting.
    void redessine();
    // Computes the plot now if it is out of date (before the window is printed).
    void actualise();
    // Marks drawn over the plot; none when empty.
    void marques(std::optional<Segment> curseur, std::optional<Rectangle> elastique);

    std::function<void(BoutonSouris, Point)> sur_appui, sur_relache;
    std::function<void(Point)> sur_mouvement;
    std::function<void()> sur_sortie;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

  private:
    std::function<Dessin(int, int)> dessin_;
    QPixmap image_;
    bool perimee_ = true;
    std::optional<Segment> curseur_;
    std::optional<Rectangle> elastique_;
};

} // namespace kovrin::fenetres
