// The window tests run offscreen with one application object for the suite.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QThreadPool>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The settings the windows remember stay apart: one file per test process,
    // since ctest runs the tests side by side.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    const QString reglages =
        QDir::tempPath() +
        QStringLiteral("/kovrin-tests-%1").arg(QCoreApplication::applicationPid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, reglages);
    ::testing::InitGoogleTest(&argc, argv);
    const int resultat = RUN_ALL_TESTS();
    // Worker threads Qt started (printing) end before the leak check at exit.
    QThreadPool::globalInstance()->waitForDone();
    QDir(reglages).removeRecursively();
    return resultat;
}
