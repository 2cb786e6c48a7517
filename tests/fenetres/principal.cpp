// The window tests run offscreen with one application object for the suite.
#include <QApplication>
#include <QStandardPaths>
#include <QThreadPool>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the settings the windows remember stay apart
    ::testing::InitGoogleTest(&argc, argv);
    const int resultat = RUN_ALL_TESTS();
    // Worker threads Qt started (printing) end before the leak check at exit.
    QThreadPool::globalInstance()->waitForDone();
    return resultat;
}
