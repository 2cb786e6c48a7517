#pragma once
// The about box ("About KOVRIN"): version and credits on yellow, OK closes it.
#include <QDialog>

class QPlainTextEdit;

namespace kovrin::fenetres {

class Tfabout : public QDialog {
    Q_OBJECT
public:
    explicit Tfabout(QWidget* parent = nullptr);
    QPlainTextEdit* memo;
};

} // namespace kovrin::fenetres
