#include <gtest/gtest.h>

#include <QGuiApplication>

// Non-widget tests still get an application object: QImage text, screens and
// the event loop need one. The offscreen platform keeps them off any display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
