#include "browser/BrowserEvents.h"
#include "browser/Preview.h"
#include "browser/SlideshowOptions.h"

#include "ScriptedMeasurer.h"
#include "WorkspaceFixture.h"

#include <QTest>

using namespace dovi;
using dovi::test::WorkspaceFixture;

namespace {

constexpr int kSpace = 32;

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

TEST_F(BrowserEvents, ReleasingOnOneFilePreviewsItAndOnSeveralShowsTheLogo) {
    select({"b.jpg"}, false);
    browser::fileListReleased(*ws, *preview);
    ASSERT_TRUE(settles());
    EXPECT_EQ(selectedPanelText(*ws), "Selected : 1");
    EXPECT_TRUE(ws->previewValid);

    select({"a.jpg", "c.jpg"}, false);
    browser::fileListReleased(*ws, *preview);
    EXPECT_EQ(selectedPanelText(*ws), "Selected : 2");
    EXPECT_FALSE(ws->previewValid);
    EXPECT_TRUE(preview->labels().isEmpty());
    EXPECT_EQ(measurer->measured().size(), 1) << "two files selected: nothing read";
}

TEST_F(BrowserEvents, SpaceAndTheRightButtonHoldThePreviousSelectionOtherKeysRefresh) {
    select({"a.jpg"});        // refreshed: "selected" is a.jpg
    select({"b.jpg"}, false); // an arrow key moved the list's selection
    browser::fileListKeyReleased(*ws, *preview, kSpace);
    EXPECT_EQ(ws->hold.names(), QStringList({"a.jpg"}));
    EXPECT_EQ(ws->selected, QStringList({"a.jpg"}));
    EXPECT_TRUE(measurer->measured().isEmpty());

    browser::fileListKeyReleased(*ws, *preview, Qt::Key_Down);
    ASSERT_TRUE(settles());
    EXPECT_EQ(ws->selected, QStringList({"b.jpg"}));
    EXPECT_EQ(measurer->measured(), QStringList({pics + "/b.jpg"}));
    EXPECT_EQ(ws->hold.count(), 1);

    ws->hold.clear();
    select({"a.jpg", "b.jpg"});
    select({"c.jpg"}, false);
    browser::fileListRightPressed(*ws);
    EXPECT_EQ(ws->hold.names(), QStringList({"a.jpg", "b.jpg"}));
    EXPECT_EQ(heldPanelText(*ws), "Held : 2");
    EXPECT_EQ(selectedPanelText(*ws), "Selected : 2");
}

TEST_F(BrowserEvents, ATreeRightClickLeavesTheListAloneAndTheNextClickReReads) {
    select({"a.jpg"});
    test::writeFile(pics + "/d.jpg", "x");
    browser::folderTreeRightPressed(*ws);
    EXPECT_TRUE(ws->skipNextTreeClick);
    EXPECT_FALSE(ws->abortRequested) << "a right press would stop a detailed list";
    browser::folderTreeClicked(*ws, *preview); // the click that ends the right press
    EXPECT_FALSE(ws->skipNextTreeClick);
    EXPECT_EQ(ws->files.size(), 3);
    EXPECT_EQ(ws->selected, QStringList({"a.jpg"}));

    ws->abortRequested = true; // a detailed list cancelled: the next click still reads
    browser::folderTreeClicked(*ws, *preview);
    EXPECT_EQ(ws->files.names(), QStringList({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(ws->selected, QStringList({"a.jpg"})) << "a re-read keeps what is still there";
    EXPECT_EQ(totalPanelText(*ws), "Total : 4");
}

TEST_F(BrowserEvents, ChangesOnDiskAreFollowedAndAVanishedFolderFallsBackToItsParent) {
    const QString deep = filesIn("pics/deep/er", {"z.jpg"});
    changeFolder(*ws, deep);
    select({"z.jpg"});
    test::writeFile(deep + "/y.jpg", "x");
    browser::followFolderOnDisk(*ws);
    EXPECT_EQ(ws->files.names(), QStringList({"y.jpg", "z.jpg"}));
    EXPECT_EQ(ws->files.selectedNames(), QStringList({"z.jpg"}));

    QDir(dir.filePath("pics/deep")).removeRecursively();
    browser::followFolderOnDisk(*ws);
    EXPECT_EQ(ws->currentFolder, pics);
    EXPECT_EQ(ws->files.size(), 3);
}

TEST_F(BrowserEvents, SlideshowOptionsStoreManualAndIntervalAtOnce) {
    browser::chooseSlideMode(*ws, false);
    EXPECT_EQ(storedValue("Slideshow", "manual"), "0");
    EXPECT_EQ(storedValue("Slideshow", "interval"), "5");
    browser::setSlideInterval(*ws, 12);
    EXPECT_EQ(storedValue("Slideshow", "interval"), "12");
    EXPECT_EQ(storedValue("Slideshow", "manual"), "0");
    browser::chooseSlideMode(*ws, true);
    EXPECT_EQ(storedValue("Slideshow", "manual"), "1");
    browser::setSlideInterval(*ws, 45);
    EXPECT_EQ(ws->settings.slideInterval, 30);
    browser::setSlideInterval(*ws, 0);
    EXPECT_EQ(ws->settings.slideInterval, 1);
}

TEST_F(BrowserEvents, StartingListsTheStartupFolderUnderTheStoredFilterAndAttributes) {
    const QString start = filesIn("start", {"a.tga", "b.jpg", ".hidden.tga", "c.TGA"});
    const struct {
        const char* filter;
        const char* hidden;
        QStringList listed;
    } cases[] = {
        {"4", "0", {"a.tga", "c.TGA"}},
        {"4", "1", {".hidden.tga", "a.tga", "c.TGA"}},
        {"9", "0", {"a.tga", "b.jpg", "c.TGA"}}, // no such entry: every file
        {"2", "0", {"b.jpg"}},
    };
    for (const auto& c : cases) {
        store->setValue("File System", "startup", start);
        store->setValue("File System", "filter", c.filter);
        store->setValue("File System", "incH", c.hidden);
        Workspace fresh(programFolder(), *store, SettingsEnvironment{1024, 768, dir.path()});
        fresh.loadSettings();
        openStartupFolder(fresh);
        EXPECT_EQ(fresh.currentFolder, start);
        EXPECT_EQ(fresh.files.names(), c.listed) << c.filter << c.hidden;
    }
    store->setValue("File System", "startup", dir.filePath("gone"));
    Workspace fallback(programFolder(), *store, SettingsEnvironment{1024, 768, dir.path()});
    fallback.loadSettings();
    openStartupFolder(fallback);
    EXPECT_EQ(fallback.currentFolder, dir.path());
}

TEST_F(BrowserEvents, NewAttributeRulesReReadTheListKeepingTheSelection) {
    test::writeFile(pics + "/.d.jpg", "x");
    select({"b.jpg"});
    ws->settings.includeHidden = 1;
    applyAttributeRules(*ws);
    EXPECT_EQ(ws->files.names(), QStringList({".d.jpg", "a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(ws->selected, QStringList({"b.jpg"}));
    EXPECT_EQ(totalPanelText(*ws), "Total : 4");
    EXPECT_EQ(ws->sizer, QStringList({"a.jpg", "b.jpg", "c.jpg"}))
        << "the statistics listing never shows hidden files";
    ws->settings.includeHidden = 0;
    applyAttributeRules(*ws);
    EXPECT_EQ(ws->sizer, ws->files.names());
}
