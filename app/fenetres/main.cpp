// kovrin2: the windowed program. Files named on the command line are taken in
// as the menu entries would take them (peaks, then profiles, then cells).
#include "fenetres/dialogues_qt.h"
#include "fenetres/programme.h"
#include "fenetres/tform1.h"
#include "fenetres/tform6.h"

#include <QApplication>
#include <QStringList>

#include <filesystem>
#include <vector>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kovrin2"));
    kovrin::fenetres::Programme programme(std::filesystem::current_path());
    programme.form6().show(); // under the main window, which then takes the activation
    programme.form1().show();
    std::vector<std::filesystem::path> fichiers;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        fichiers.push_back(std::filesystem::absolute(kovrin::fenetres::chemin(arguments[i])));
    programme.ouvre_fichiers(fichiers);
    return QApplication::exec();
}
