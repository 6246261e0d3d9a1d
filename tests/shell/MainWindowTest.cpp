#include "shell/MainWindow.h"
#include "app/IniStore.h"
#include "app/Workspace.h"
#include "app/windows/CaptionedProgressBar.h"
#include "app/windows/SplashWindow.h"
#include "browser/PreviewFacts.h"
#include "browser/windows/BrowserViews.h"
#include "browser/windows/HistoryWindow.h"
#include "browser/windows/PreviewPane.h"
#include "shell/CommandTable.h"
#include "viewer/windows/ViewerWindow.h"

#include "TestSupport.h"

#include <QFileSystemModel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace dovi;

namespace {

// The main window over a folder of real images, read by the real engine.
struct MainWindowFixture : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<IniStore> store;
    std::unique_ptr<Workspace> workspace;
    QString pics;

    void SetUp() override {
        QDir().mkpath(dir.filePath("prog/Temp"));
        pics = dir.filePath("pics");
        QDir().mkpath(pics + "/sub");
        QImage two(64, 48, QImage::Format_RGB32);
        two.fill(qRgb(200, 30, 30));
        for (int y = 0; y < 48; ++y)
            two.setPixel(5, y, qRgb(0, 0, 255));
        ASSERT_TRUE(two.save(pics + "/photo.bmp", "BMP"));
        ASSERT_TRUE(test::makeTestPattern(80, 60).save(pics + "/shot.jpg", "JPEG", 90));
        test::writeFile(pics + "/notes.txt", "text");
        store = std::make_unique<IniStore>(dir.filePath("Dovi.ini"));
        store->setValue("File System", "startup", pics);
        workspace = std::make_unique<Workspace>(dir.filePath("prog"), *store,
                                                SettingsEnvironment{1920, 1080, dir.path()});
    }

    static bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 10000); }

    static void clickRow(FileListView* list, int row, Qt::MouseButton button = Qt::LeftButton) {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), button, {}, r.center());
    }
    QString storedValue(const char* section, const char* key) const {
        return IniStore(dir.filePath("Dovi.ini")).value(section, key, "<none>");
    }
    static QStringList facts(MainWindow& w) {
        QStringList out;
        for (int i = 0; i < 5; ++i)
            out << w.infoLabel(i)->text();
        return out;
    }
};
using BrowserWindow = MainWindowFixture;

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

TEST_F(MainWindowFixture, FrameShowsTitleAndProcessingSize) {
    store->setValue("File System", "startup", ""); // none stored: the home folder
    store->setValue("Batch", "xres", "800");
    store->setValue("Batch", "yres", "600");
    store->setValue("Batch", "updown", "1");
    MainWindow w(*workspace);
    w.resize(1200, 700);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Dovi v1.0.0");
    EXPECT_EQ(w.statusPanel(3)->text(), "800 x 600*");
    EXPECT_EQ(w.statusPanel(3)->toolTip(), "Process Resolution (* indicates extra conditions)");
}

// The menus offer every row of the table in its order, every row is bound,
// and a control bound by a binder is a row (or no menu would offer it).
TEST_F(MainWindowFixture, MenusAndToolbarOfferEveryRowOfTheTableBoundInOrder) {
    MainWindow w(*workspace);
    QStringList shown;
    bool separatorsTidy = true;
    for (QAction* menu : w.menuBar()->actions())
        collectMenu(menu->menu(), shown, separatorsTidy);
    QStringList rows;
    for (const MenuCommand& row : menuCommands())
        if (!row.control.isEmpty())
            rows << row.control;
    EXPECT_EQ(shown, rows);
    EXPECT_TRUE(separatorsTidy);
    for (const QString& control : rows)
        EXPECT_TRUE(w.commands().isBound(control)) << control.toStdString();
    for (const QString& control : w.commands().boundControls())
        EXPECT_TRUE(rows.contains(control)) << control.toStdString();

    QStringList expectedTips;
    for (const ToolbarCommand& row : toolbarCommands())
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

TEST_F(BrowserWindow, SelectingAnImagePreviewsItsWholeFileFactsFromAWorker) {
    MainWindow w(*workspace);
    w.resize(1100, 700);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    FileListView* list = w.fileList();
    ASSERT_EQ(list->model()->index(0, 0).data().toString(), "photo.bmp");
    clickRow(list, 0);
    ASSERT_TRUE(waitFor([&] { return w.infoLabel(0)->text() == "X : 64"; }));
    const QString size = browser::groupThousands(QFileInfo(pics + "/photo.bmp").size());
    EXPECT_EQ(facts(w), QStringList({"X : 64", "Y : 48", "Size : " + size + "(b)",
                                     "Unique Colours : 2", "Colour Depth : 24 bpp"}));

    // An arrow key moves to the next file, which is previewed on release.
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_TRUE(waitFor([&] { return w.infoLabel(0)->text() == "X : 80"; }));

    // Two files selected: the logo and empty lines; Space holds them.
    QTest::keyClick(list, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_TRUE(w.previewPane()->showsLogo());
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(w.holdList()->count(), 2);
}

TEST_F(BrowserWindow, TheFilterNarrowsTheListAndTheListFollowsTheDisk) {
    MainWindow w(*workspace);
    w.show();
    QComboBox* filters = w.filterList();
    EXPECT_EQ(filters->currentText(), "All Images");
    filters->setCurrentIndex(0);
    emit filters->activated(0);
    EXPECT_EQ(w.statusPanel(0)->text(), "Total : 3");

    test::writeFile(pics + "/new.tga", "x");
    EXPECT_TRUE(waitFor([&] { return w.statusPanel(0)->text() == "Total : 4"; }))
        << "a file made by another program was not listed";
    EXPECT_EQ(w.fileList()->model()->rowCount(), 4);
}

TEST_F(BrowserWindow, TheTreeFollowsTheFolderShownAndItsRightButtonOnlyMarks) {
    MainWindow w(*workspace);
    w.show();
    auto* model = static_cast<QFileSystemModel*>(w.folderTree()->model());

    workspace->hold.append(pics + "/sub/x.bmp");
    workspace->hold.choose(0);
    ASSERT_TRUE(runToolbarKey(w.commands(), "gofolder"));
    EXPECT_EQ(workspace->currentFolder, pics + "/sub");
    EXPECT_EQ(model->filePath(w.folderTree()->currentIndex()), pics + "/sub");

    int statistics = 0;
    w.setFolderStatisticsHandler([&] { ++statistics; });
    FolderTreeView* tree = w.folderTree();
    const QRect parentRow = tree->visualRect(model->index(pics));
    ASSERT_TRUE(parentRow.isValid());
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, parentRow.center());
    EXPECT_EQ(statistics, 1);
    EXPECT_EQ(workspace->currentFolder, pics + "/sub") << "the right button opened a folder";

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, parentRow.center());
    EXPECT_EQ(workspace->currentFolder, pics);
}

TEST_F(BrowserWindow, OneRunningHistoryWindowShowsLinesAsTheyComeAndClosingDiscardsThem) {
    MainWindow w(*workspace);
    w.show();
    ASSERT_TRUE(runToolbarKey(w.commands(), "history"));
    QPointer<HistoryWindow> first = w.historyWindow();
    ASSERT_TRUE(first && first->isVisible());
    ASSERT_TRUE(w.commands().runControl("mnuRunningHist"));
    EXPECT_EQ(w.historyWindow(), first.data()) << "a second copy was opened";

    workspace->addHistory("Viewed /p/a.jpg");
    workspace->addHistory("Saved the hold list");
    EXPECT_EQ(first->windowTitle(), "Dovi Running History - 2 item(s)");
    ASSERT_TRUE(waitFor([&] { return first->list()->model()->rowCount() == 2; }));
    EXPECT_EQ(first->list()->model()->index(1, 0).data().toString(), "Saved the hold list");

    first->close();
    EXPECT_TRUE(workspace->history.isEmpty());
}

TEST_F(BrowserWindow, HoldFrameControlsStoreTheirSettingsAndShowWhatThePreferencesStored) {
    store->setValue("Slideshow", "manual", "0");
    store->setValue("Slideshow", "interval", "7");
    MainWindow w(*workspace);
    w.show();
    EXPECT_TRUE(w.timerOption()->isChecked());
    EXPECT_EQ(w.intervalSlider()->value(), 7);
    w.intervalSlider()->setValue(9);
    EXPECT_EQ(storedValue("Slideshow", "interval"), "9");

    w.bypassBox()->setChecked(true);
    EXPECT_TRUE(workspace->hold.bypass);
    ASSERT_TRUE(runToolbarKey(w.commands(), "clear"));
    EXPECT_FALSE(w.bypassBox()->isChecked());

    // Closing the preferences shows what they stored: the slider what it can.
    Settings& s = workspace->settings;
    std::tie(s.slideManual, s.slideInterval, s.processWidth, s.processHeight, s.resampleUpDown) =
        std::tuple(0, 60, 1200, 1024, 1);
    w.showSlideshowOptions();
    w.showProcessingSize();
    EXPECT_TRUE(w.timerOption()->isChecked());
    EXPECT_EQ(w.intervalSlider()->value(), 30);
    EXPECT_EQ(w.statusPanel(3)->text(), "1200 x 1024*");
}

TEST_F(BrowserWindow, TheColumnsAndTheHoldFrameShareTheWindowAtAnySize) {
    MainWindow w(*workspace);
    w.show();
    const auto placed = [&w](const QWidget* widget) {
        return QRect(widget->mapTo(&w, QPoint(0, 0)), widget->size());
    };
    int previousPreviewWidth = 0;
    for (const QSize size : {QSize(760, 520), QSize(1700, 1050)}) {
        w.resize(size);
        QApplication::processEvents();
        const QRect tree = placed(w.folderTree()), files = placed(w.fileList()),
                    preview = placed(w.previewPane()), progress = placed(w.progressBar()),
                    hold = placed(w.findChild<QWidget*>("fraHold"));
        EXPECT_TRUE(tree.right() < files.left() && files.right() < preview.left() &&
                    preview.right() <= w.width())
            << size.width();
        EXPECT_TRUE(!hold.isEmpty() && progress.bottom() < hold.top() &&
                    hold.bottom() <= placed(w.statusPanel(0)).top())
            << size.width();
        EXPECT_GT(preview.width(), previousPreviewWidth) << "the preview did not grow";
        previousPreviewWidth = preview.width();
    }
}

TEST_F(MainWindowFixture, WorkInTheListOrFilterClosesTheWindowsThatAskedForIt) {
    MainWindow w(*workspace);
    w.show();
    for (const int gesture : {0, 1, 2}) {
        QWidget grid;
        grid.show();
        w.closeWhenBrowsing(&grid);
        w.closeWhenBrowsing(&grid);
        if (gesture == 0)
            emit w.filterList()->activated(1);
        else if (gesture == 1)
            clickRow(w.fileList(), 0);
        else
            clickRow(w.fileList(), 0, Qt::RightButton);
        EXPECT_FALSE(grid.isVisible()) << gesture;
    }
    // A window closed meanwhile is forgotten, not closed twice.
    {
        QWidget gone;
        w.closeWhenBrowsing(&gone);
    }
    emit w.filterList()->activated(1);
}

TEST_F(BrowserWindow, APathHandedToTheProgramShowsItsFolderWithTheFileSelectedAndPreviewed) {
    MainWindow w(*workspace);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.openPath(pics + "/sub");
    w.openPath(pics + "/shot.jpg");
    EXPECT_EQ(workspace->currentFolder, pics);
    EXPECT_EQ(w.fileList()->currentIndex().data().toString(), "shot.jpg");
    EXPECT_TRUE(waitFor([&] { return w.previewedFile() == pics + "/shot.jpg"; }));
}

// The shortcuts reach their commands; while one runs, a second is refused with
// a short message, the browser's controls wait, and the window will not close.
TEST_F(MainWindowFixture, ShortcutsReachTheirCommandsAndOnlyOneRunsAtATime) {
    // An earlier test quit the application, after which every modal box
    // returns at once; a fresh run of the event loop clears that.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    MainWindow w(*workspace);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QStringList ran;
    QStringList refusals;
    bool heldDuringRun = false;
    bool closedDuringRun = true;
    for (const char* control : {"mnumove", "mnudelete", "mnurename"})
        w.commands().bind(control, [&ran, control] { ran << control; });
    // Answers every message box as it appears, noting its text.
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&refusals] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                refusals << box->text();
                box->accept();
            }
    });
    answerer.start(20);
    w.commands().bind("mnucopy", [&] {
        ran << "mnucopy";
        heldDuringRun = !w.fileList()->isEnabled() && !w.folderTree()->isEnabled();
        EXPECT_FALSE(w.commands().runControl("mnudelete")); // the copy is still running
        closedDuringRun = w.close();
    });
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_C, Qt::ControlModifier},
                                                              {Qt::Key_M, Qt::ControlModifier},
                                                              {Qt::Key_Delete, Qt::NoModifier},
                                                              {Qt::Key_F2, Qt::NoModifier}};
    for (const auto& [key, modifiers] : keys) {
        w.activateWindow(); // the refusal boxes took the focus
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, key, modifiers);
    }
    EXPECT_EQ(ran, QStringList({"mnucopy", "mnumove", "mnudelete", "mnurename"}));
    EXPECT_TRUE(heldDuringRun);
    EXPECT_FALSE(closedDuringRun);
    EXPECT_EQ(refusals, QStringList(2, "Please wait: Copy File(s) is still running."));
    EXPECT_TRUE(w.fileList()->isEnabled());
}

TEST_F(MainWindowFixture, EveryActivationSavesTheSettingsAndClosingShutsDown) {
    const QString leftover = dir.filePath("prog/Temp/3.bmp");
    test::writeFile(leftover, "x");
    MainWindow w(*workspace);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QWidget other;
    for (const int width : {640, 700}) {
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        workspace->settings.processWidth = width;
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        EXPECT_EQ(storedValue("Batch", "xres"), QString::number(width));
    }
    workspace->settings.processWidth = 900;
    EXPECT_TRUE(w.close());
    EXPECT_EQ(storedValue("Batch", "xres"), "900");
    EXPECT_FALSE(QFileInfo::exists(leftover));
}

// The browser's ways into the viewer: a double-click on the file list and a
// left click on the preview, only while the preview shows a file.
TEST_F(BrowserWindow, DoubleClickAndPreviewClickOpenTheOneViewer) {
    MainWindow w(*workspace);
    w.resize(1000, 700);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.previewPane(), Qt::LeftButton);
    EXPECT_EQ(w.viewerWindow(), nullptr) << "nothing previewed yet";

    FileListView* list = w.fileList();
    clickRow(list, 0);
    ASSERT_TRUE(waitFor([&] { return workspace->previewValid; }));

    // The double-click's first click reads the file again; then the viewer opens.
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(list->model()->index(0, 0)).center());
    ASSERT_TRUE(waitFor([&] { return w.viewerWindow() != nullptr; }));
    ViewerWindow* viewer = w.viewerWindow();
    EXPECT_EQ(viewer->windowTitle(), pics + "/photo.bmp  X:64  Y:48");

    // The preview's click opens the same file in the one viewer.
    QTest::mouseClick(w.previewPane(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return w.viewerWindow() && w.viewerWindow() != viewer; }));
    w.viewerWindow()->close();
}

TEST(SplashWindow, HandsOverOnItsSecondTick) {
    int shown = 0;
    (new SplashWindow(QString(), true, [&shown] { ++shown; }))->show();
    QTest::qWait(1500);
    EXPECT_EQ(shown, 0) << "not on the first tick";
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown == 1; }, 3000));
}
