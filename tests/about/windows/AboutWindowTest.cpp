#include "about/windows/AboutWindow.h"
#include "about/windows/AboutCommandBindings.h"

#include "app/CommandDispatcher.h"

#include "RecordingShell.h"
#include "WorkspaceFixture.h"

#include <QLabel>
#include <QProgressBar>

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
    EXPECT_EQ(window.windowTitle(), about::aboutCaption());
    EXPECT_TRUE(window.windowTitle().startsWith("Dovi v"));
    EXPECT_TRUE(window.label("labXRes")->text().startsWith("Current xRes: "));
    EXPECT_TRUE(window.label("labWinVer")->text().startsWith("OS Version: "));
    EXPECT_EQ(window.label("labTotalMemory")->text(), "Total Physical Memory: 16,318,516 Kbyte");
    EXPECT_EQ(window.label("labFreeMemory")->text(), "Free Physical Memory: 9,123,456 Kbyte");
    EXPECT_EQ(window.memoryGauge()->maximum(), 16318516);
    EXPECT_EQ(window.memoryGauge()->value(), 9123456);
    EXPECT_EQ(window.memoryTimer().interval(), 1000);
    EXPECT_TRUE(window.memoryTimer().isActive());

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
    EXPECT_EQ(window.result(), QDialog::Accepted);

    CommandDispatcher commands;
    test::ScriptedUi ui;
    test::RecordingShell shell;
    QTemporaryDir dir;
    IniStore store(dir.filePath("x.ini"));
    Workspace ws(dir.path(), store, {1024, 768, dir.path()});
    bindAboutCommands(commands, {ws, ui, nullptr, shell});
    EXPECT_TRUE(commands.isBound("mnuabout"));
}
