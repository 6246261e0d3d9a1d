#include "browser/BrowserEvents.h"
#include "browser/Preview.h"
#include "browser/SlideshowOptions.h"

#include "ScriptedMeasurer.h"
#include "WorkspaceFixture.h"

#include <QTest>

using namespace dovi;
using dovi::test::WorkspaceFixture;

namespace {

struct BrowserEvents : WorkspaceFixture {
    std::shared_ptr<test::ScriptedMeasurer> measurer = std::make_shared<test::ScriptedMeasurer>();
    std::unique_ptr<browser::Preview> preview;
    QString pics;

    void SetUp() override {
        WorkspaceFixture::SetUp();
        pics = filesIn("pics", {"a.jpg", "b.jpg", "c.jpg"});
        changeFolder(*ws, pics);
        preview = std::make_unique<browser::Preview>(*ws, ui, measurer);
        for (const char* n : {"a.jpg", "b.jpg", "c.jpg"})
            measurer->script(n, test::loadedFacts(4, 3, 1, 1, 24));
    }
    bool settles() {
        return QTest::qWaitFor([this] { return !preview->isReading(); }, 5000);
    }
};

} // namespace

// A release previews one file or shows the logo for several; Space and the
// right button hold the previous selection; other keys refresh it.
TEST_F(BrowserEvents, ReleasesPreviewAndSpaceOrTheRightButtonHoldThePreviousSelection) {
    select({"a.jpg", "c.jpg"}, false);
    browser::fileListReleased(*ws, *preview);
    EXPECT_EQ(selectedPanelText(*ws), "Selected : 2");
    EXPECT_FALSE(ws->previewValid);

    select({"a.jpg"});        // refreshed: "selected" is a.jpg
    select({"b.jpg"}, false); // an arrow key moved the list's selection
    browser::fileListKeyReleased(*ws, *preview, Qt::Key_Space);
    EXPECT_EQ(ws->hold.names() + ws->selected, QStringList({"a.jpg", "a.jpg"}));
    EXPECT_TRUE(measurer->measured().isEmpty()) << "nothing read for two files or for Space";

    browser::fileListKeyReleased(*ws, *preview, Qt::Key_Down);
    ASSERT_TRUE(settles());
    EXPECT_EQ(ws->selected, QStringList({"b.jpg"}));
    EXPECT_EQ(measurer->measured(), QStringList({pics + "/b.jpg"}));
    EXPECT_TRUE(ws->previewValid);

    ws->hold.clear();
    select({"a.jpg", "b.jpg"});
    select({"c.jpg"}, false);
    browser::fileListRightPressed(*ws);
    EXPECT_EQ(ws->hold.names(), QStringList({"a.jpg", "b.jpg"}));
    EXPECT_EQ(heldPanelText(*ws), "Held : 2");
}

TEST_F(BrowserEvents, ATreeRightClickLeavesTheListAloneAndTheNextClickReReads) {
    select({"a.jpg"});
    test::writeFile(pics + "/d.jpg", "x");
    browser::folderTreeRightPressed(*ws);
    EXPECT_FALSE(ws->abortRequested) << "a right press would stop a detailed list";
    browser::folderTreeClicked(*ws, *preview); // the click that ends the right press
    EXPECT_EQ(ws->files.size(), 3);
    ws->abortRequested = true; // a detailed list cancelled: the next click still reads
    browser::folderTreeClicked(*ws, *preview);
    EXPECT_EQ(ws->files.names(), QStringList({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(ws->selected, QStringList({"a.jpg"})) << "a re-read keeps what is still there";

    // Hidden files shown: the list is read again, the statistics listing never shows them.
    test::writeFile(pics + "/.e.jpg", "x");
    ws->settings.includeHidden = 1;
    applyAttributeRules(*ws);
    EXPECT_EQ(ws->files.names().first(), ".e.jpg");
    EXPECT_EQ(ws->selected, QStringList({"a.jpg"}));
    EXPECT_EQ(ws->sizer, QStringList({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));

    // Changes on disk are followed; a vanished folder falls back to its parent.
    const QString deep = filesIn("pics/deep/er", {"z.jpg"});
    changeFolder(*ws, deep);
    test::writeFile(deep + "/y.jpg", "x");
    browser::followFolderOnDisk(*ws);
    EXPECT_EQ(ws->files.names(), QStringList({"y.jpg", "z.jpg"}));
    QDir(dir.filePath("pics/deep")).removeRecursively();
    browser::followFolderOnDisk(*ws);
    EXPECT_EQ(ws->currentFolder, pics);
}

TEST_F(BrowserEvents, SlideshowOptionsStoreManualAndIntervalAtOnce) {
    QStringList stored;
    for (const auto& [manual, given, kept] :
         {std::tuple{false, 12, 12}, {true, 45, 30}, {true, 0, 1}}) {
        browser::chooseSlideMode(*ws, manual);
        stored << storedValue("Slideshow", "manual");
        browser::setSlideInterval(*ws, given);
        EXPECT_EQ(ws->settings.slideInterval, kept);
        stored << storedValue("Slideshow", "interval");
    }
    EXPECT_EQ(stored, QStringList({"0", "12", "1", "30", "1", "1"}));
}

TEST_F(BrowserEvents, StartingListsTheStartupFolderUnderTheStoredFilterAndAttributes) {
    const QString start = filesIn("start", {"a.tga", "b.jpg", ".hidden.tga", "c.TGA"});
    const struct {
        QString startup, filter, hidden;
        QStringList listed;
    } cases[] = {
        {start, "4", "0", {"a.tga", "c.TGA"}},
        {start, "4", "1", {".hidden.tga", "a.tga", "c.TGA"}},
        {start, "9", "0", {"a.tga", "b.jpg", "c.TGA"}}, // no such entry: every file
        {dir.filePath("gone"), "2", "0", {}},
    };
    for (const auto& c : cases) {
        store->setValue("File System", "startup", c.startup);
        store->setValue("File System", "filter", c.filter);
        store->setValue("File System", "incH", c.hidden);
        Workspace fresh(programFolder(), *store, SettingsEnvironment{1024, 768, dir.path()});
        fresh.loadSettings();
        openStartupFolder(fresh);
        EXPECT_EQ(fresh.currentFolder, c.listed.isEmpty() ? dir.path() : start);
        EXPECT_EQ(fresh.files.names(), c.listed)
            << c.filter.toStdString() << c.hidden.toStdString();
    }
}
