#include "about/windows/AboutWindow.h"
#include "TestSupport.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

using namespace dovi;

TEST(AboutWindow, ShowsTheVersionSystemAndMemoryAndRefreshesEverySecond) {
    QLocale::setDefault(QLocale::c());
    about::MemoryFacts memory{16318516, 9123456};
    int reads = 0;
    AboutWindow window(nullptr,
                       [&] {
                           ++reads;
                           return memory;
                       },
                       {});
    EXPECT_TRUE(window.windowTitle().startsWith("Dovi v"));
    EXPECT_EQ(window.label("labTotalMemory")->text(), "Total Physical Memory: 16,318,516 Kbyte");
    EXPECT_EQ(window.label("labFreeMemory")->text(), "Free Physical Memory: 9,123,456 Kbyte");
    EXPECT_EQ(window.memoryGauge()->value(), 9123456);

    memory.availableKb = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return reads >= 2; }, 3000));
    EXPECT_EQ(window.label("labFreeMemory")->text(), "Free Physical Memory: None (Virtual)");
    EXPECT_EQ(window.memoryGauge()->value(), 0);
    window.reject();
    EXPECT_FALSE(window.memoryTimer().isActive());
    QLocale::setDefault(QLocale::system());
}

TEST(AboutWindow, ALinkOpensItsPageAndClosesTheWindow) {
    QList<QUrl> opened;
    AboutWindow window(
        nullptr, [] { return about::MemoryFacts{}; },
        [&](const QUrl& url) { return opened << url, true; });
    window.show();
    EXPECT_EQ(window.label("Label2")->text().contains("Orvane"), true);
    window.openLink("https://example.org/page");
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://example.org/page")});
    EXPECT_FALSE(window.isVisible());
}
