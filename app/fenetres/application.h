#pragma once
// The application object of kovrin2. Commands catch their own failures at the
// command boundary; an exception that still escapes an event handler (a
// drawing, a Qt callback) is shown in an error box instead of ending the
// program, since Qt cannot carry exceptions through its event loop.
#include <QApplication>

namespace kovrin::fenetres {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* destinataire, QEvent* evenement) override;
};

} // namespace kovrin::fenetres
