#include <gtest/gtest.h>

#include <QGuiApplication>

// Non-widget tests still get an application object: QImage text, screens and
// the event loop need one. The offscreen platform keeps them off any display.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
