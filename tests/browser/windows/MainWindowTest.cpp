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
    EXPECT_EQ(
        visibleMenuItems(w.menuBar()),
        QStringList({"&File/Quit Dovi", "&Hold List/Open Hold List", "&Hold List/Save Hold List",
                     "&Hold List/-", "&Hold List/Add Item(s) to List",
                     "&Hold List/Remove Item from List", "&Hold List/Clear the Hold List",
                     "&Hold List/Go to Held path", "&View/Running History"}));
    const auto bars = w.findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(bars.size(), 1);
    QStringList tips;
    for (QAction* a : bars[0]->actions()) {
        tips << a->toolTip();
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
    EXPECT_EQ(tips, QStringList({"Open Hold List", "Save Hold List", "Clear Hold List",
                                 "Remove Item from Hold List", "Go To Held Folder",
                                 "Show Running History", "Quit Dovi"}));
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
