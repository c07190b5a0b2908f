// Entry point of the Qt widget tests: one QApplication for the whole run (offscreen unless the
// environment names another platform), then every GoogleTest case on the GUI thread.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Qt WebEngine needs a shared GL context set before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Cardwright"));
    QApplication::setApplicationName(QStringLiteral("cardwright-tests"));
    return RUN_ALL_TESTS();
}
