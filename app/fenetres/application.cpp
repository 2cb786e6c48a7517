#include "fenetres/application.h"

#include <QMessageBox>

#include <exception>

namespace kovrin::fenetres {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* destinataire, QEvent* evenement) {
    try {
        return QApplication::notify(destinataire, evenement);
    } catch (const std::exception& e) {
        QMessageBox::critical(activeWindow(), QStringLiteral("KOVRIN"), QString::fromStdString(e.what()));
    }
    return false;
}

} // namespace kovrin::fenetres
