#include "app/IniStore.h"
#include "app/Workspace.h"
#include "app/windows/CaptionedProgressBar.h"
#include "browser/windows/MainWindow.h"

#include "TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>

using namespace dovi;

namespace {

struct MainWindowFixture : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<IniStore> store;
    std::unique_ptr<Workspace> workspace;

    void SetUp() override {
        QDir().mkpath(dir.filePath("prog/Temp"));
        store = std::make_unique<IniStore>(dir.filePath("Dovi.ini"));
        store->setValue("Batch", "xres", "800");
        store->setValue("Batch", "yres", "600");
        store->setValue("Batch", "updown", "1");
        workspace = std::make_unique<Workspace>(dir.filePath("prog"), *store,
                                                SettingsEnvironment{1920, 1080, dir.path()});
    }
};

QStringList visibleMenuItems(QMenuBar* bar) {
    QStringList out;
    for (QAction* menu : bar->actions())
        for (QAction* item : menu->menu()->actions())
            out << menu->text() + "/" + (item->isSeparator() ? "-" : item->text());
    return out;
}

} // namespace

TEST_F(MainWindowFixture, FrameShowsTitleStatusPanelsAndIdleState) {
    MainWindow w(*workspace);
    w.resize(1200, 700);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Dovi v1.0.0");
    EXPECT_EQ(w.statusPanel(0)->text(), "Total : 0");
    EXPECT_EQ(w.statusPanel(1)->text(), "Selected : 0");
    EXPECT_EQ(w.statusPanel(2)->text(), "Held : 0");
    EXPECT_EQ(w.statusPanel(3)->text(), "800 x 600*");
    EXPECT_EQ(w.statusPanel(3)->toolTip(), "Process Resolution (* indicates extra conditions)");
    EXPECT_EQ(w.idleLight()->toolTip(), "Idle");
    EXPECT_EQ(w.idleLight()->palette().color(QPalette::Window), QColor(0, 192, 0));
    EXPECT_EQ(w.progressBar()->text(), "Dovi - Idle");
    EXPECT_EQ(w.progressBar()->value(), 0);

    w.ui().setIdleLight(true);
    EXPECT_EQ(w.idleLight()->toolTip(), "Busy");
    EXPECT_EQ(w.idleLight()->palette().color(QPalette::Window), QColor(192, 0, 0));
}

TEST_F(MainWindowFixture, MenusAndToolbarOfferOnlyBoundCommands) {
    MainWindow w(*workspace);
    EXPECT_EQ(visibleMenuItems(w.menuBar()),
              QStringList({"&File/&Copy File(s)", "&File/&Move File(s)", "&File/&Delete File(s)",
                           "&File/&Rename File", "&File/-", "&File/&Extension Conformity",
                           "&File/-", "&File/Generate Detailed List", "&File/-",
                           "&File/Create Folder", "&File/Remove Folder",
                           "&File/Go to Startup Folder", "&File/-", "&File/Quit Dovi"}));
    const auto bars = w.findChildren<QToolBar*>();
    ASSERT_EQ(bars.size(), 1);
    QStringList tips;
    for (QAction* a : bars[0]->actions())
        tips << a->toolTip();
    EXPECT_EQ(tips,
              QStringList({"New Folder", "Remove Folder", "Go to Startup Folder", "Copy File(s)",
                           "Move File(s)", "Delete File(s)", "Rename File", "Quit Dovi"}));
}

TEST_F(MainWindowFixture, QuitSavesEverySettingAndEmptiesTemp) {
    const QString leftover = dir.filePath("prog/Temp/3.bmp");
    test::writeFile(leftover, "x");
    MainWindow w(*workspace);
    w.quitProgram();
    EXPECT_FALSE(QFileInfo::exists(leftover));
    IniStore saved(dir.filePath("Dovi.ini"));
    EXPECT_EQ(saved.value("Batch", "xres", "?"), "800");
    EXPECT_EQ(saved.value("Slideshow", "interval", "?"), "5");
    EXPECT_EQ(saved.value("File System", "startup", "?"), dir.path());
}
