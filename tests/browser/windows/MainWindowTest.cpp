#include "app/IniStore.h"
#include "app/Workspace.h"
#include "app/windows/CaptionedProgressBar.h"
#include "browser/CommandTable.h"
#include "browser/windows/MainWindow.h"

#include "TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
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

namespace {

// Walks a menu in order: the names of its commands, and whether every
// separator stands between two commands.
void collectMenu(QMenu* menu, QStringList& controls, bool& separatorsTidy) {
    const auto actions = menu->actions();
    for (int i = 0; i < actions.size(); ++i) {
        QAction* a = actions[i];
        if (a->isSeparator()) {
            separatorsTidy &= i > 0 && i + 1 < actions.size() && !actions[i - 1]->isSeparator();
        } else if (a->menu()) {
            collectMenu(a->menu(), controls, separatorsTidy);
        } else {
            controls << a->objectName();
        }
    }
}

} // namespace

TEST_F(MainWindowFixture, MenusAndToolbarOfferExactlyTheBoundCommandsInTableOrder) {
    MainWindow w(*workspace);
    QStringList shown;
    bool separatorsTidy = true;
    for (QAction* menu : w.menuBar()->actions())
        collectMenu(menu->menu(), shown, separatorsTidy);
    QStringList bound;
    for (const MenuCommand& row : menuCommands())
        if (!row.control.isEmpty() && w.commands().isBound(row.control))
            bound << row.control;
    EXPECT_EQ(shown, bound);
    EXPECT_TRUE(separatorsTidy);
    for (const char* control : {"mnuquit", "mnuopenhold", "mnuRunningHist", "mnucopy"})
        EXPECT_TRUE(bound.contains(control)) << control;

    QStringList expectedTips;
    for (const ToolbarCommand& row : toolbarCommands())
        if (w.commands().isBound(row.control))
            expectedTips << row.tooltip;
    const auto bars = w.findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(bars.size(), 1);
    QStringList tips;
    for (QAction* a : bars[0]->actions()) {
        tips << a->toolTip();
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
    EXPECT_EQ(tips, expectedTips);
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
