#include "browser/BrowserEvents.h"
#include "browser/Preview.h"
#include "browser/SlideshowOptions.h"

#include "ScriptedMeasurer.h"
#include "WorkspaceFixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace dovi;
using dovi::test::WorkspaceFixture;

TEST_F(WorkspaceFixture, FolderChangeListsSelectsNothingCountsAndReReadsKeepTheSelection) {
    const QString photos = filesIn("photos", {"a.jpg", "b.JPG", "c.tga", "d.txt", "e.bmp"});
    QSignalSpy reset(ws.get(), &Workspace::previewReset);
    browser::changeFolder(*ws, photos + "/");
    EXPECT_EQ(ws->currentFolder, photos);
    EXPECT_EQ(ws->files, QStringList({"a.jpg", "b.JPG", "c.tga", "e.bmp"}));
    EXPECT_EQ(browser::totalPanelText(*ws), "Total : 4");
    EXPECT_EQ(browser::selectedPanelText(*ws), "Selected : 0");
    EXPECT_EQ(ws->sizer.size(), 4);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(browser::fullPath(*ws, "a.jpg"), photos + "/a.jpg");

    ws->fileSelected = {true, false, true, false};
    browser::refreshSelection(*ws);
    EXPECT_EQ(ws->selected, QStringList({"a.jpg", "c.tga"}));
    EXPECT_EQ(browser::selectedPanelText(*ws), "Selected : 2");
    QFile::remove(photos + "/a.jpg");
    test::writeFile(photos + "/0.bmp", "x");
    browser::rereadFiles(*ws);
    browser::refreshSelection(*ws);
    EXPECT_EQ(ws->files, QStringList({"0.bmp", "b.JPG", "c.tga", "e.bmp"}));
    EXPECT_EQ(ws->selected, QStringList({"c.tga"}));

    // Choosing a filter narrows, clears the selection and is stored at once.
    browser::chooseFilter(*ws, 4);
    EXPECT_EQ(ws->files, QStringList({"c.tga"}));
    EXPECT_TRUE(ws->selected.isEmpty());
    EXPECT_EQ(storedValue("File System", "filter"), "4");
    browser::chooseFilter(*ws, 9); // no such entry: the pattern stays
    EXPECT_EQ(ws->filePattern, "*.TGA");
    browser::chooseFilter(*ws, 0);
    EXPECT_EQ(ws->files.size(), 5);

    browser::changeFolder(*ws, "/");
    EXPECT_EQ(browser::fullPath(*ws, "etc"), "/etc");
}

TEST(HoldList, BothListsChangeTogetherAtTheSameIndex) {
    HoldList h;
    h.append("/pics/a.jpg");
    h.append("/b.jpg");
    h.append("/pics/a.jpg");
    EXPECT_EQ(h.names(), QStringList({"a.jpg", "b.jpg", "a.jpg"}));
    h.choose(1);
    h.removeAt(h.chosenIndex());
    EXPECT_EQ(h.fullPaths(), QStringList({"/pics/a.jpg", "/pics/a.jpg"}));
    EXPECT_EQ(h.names(), QStringList({"a.jpg", "a.jpg"}));
    EXPECT_EQ(HoldList::folderPart("/pics/2001/x.bmp"), "/pics/2001/");
    EXPECT_EQ(HoldList::folderPart("/x.bmp"), "/");
    h.bypass = true;
    h.clear();
    EXPECT_TRUE(h.isEmpty());
    EXPECT_TRUE(h.bypass) << "emptying the lists leaves the bypass box to its caller";
}

namespace {

constexpr int kSpace = 32;

struct BrowserEvents : WorkspaceFixture {
    std::shared_ptr<test::ScriptedMeasurer> measurer = std::make_shared<test::ScriptedMeasurer>();
    std::unique_ptr<browser::Preview> preview;
    QString pics;

    void SetUp() override {
        WorkspaceFixture::SetUp();
        pics = filesIn("pics", {"a.jpg", "b.jpg", "c.jpg"});
        browser::changeFolder(*ws, pics);
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
    EXPECT_EQ(browser::selectedPanelText(*ws), "Selected : 1");
    EXPECT_TRUE(ws->previewValid);

    select({"a.jpg", "c.jpg"}, false);
    browser::fileListReleased(*ws, *preview);
    EXPECT_EQ(browser::selectedPanelText(*ws), "Selected : 2");
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
    EXPECT_EQ(browser::heldPanelText(*ws), "Held : 2");
    EXPECT_EQ(browser::selectedPanelText(*ws), "Selected : 2");
}

TEST_F(BrowserEvents, ATreeRightClickLeavesTheListAloneAndTheNextClickReReads) {
    select({"a.jpg"});
    test::writeFile(pics + "/d.jpg", "x");
    browser::folderTreeRightPressed(*ws);
    EXPECT_TRUE(ws->abortRequested);
    browser::folderTreeClicked(*ws, *preview); // the click that ends the right press
    EXPECT_FALSE(ws->abortRequested);
    EXPECT_EQ(ws->files.size(), 3);
    EXPECT_EQ(ws->selected, QStringList({"a.jpg"}));

    browser::folderTreeClicked(*ws, *preview);
    EXPECT_EQ(ws->files, QStringList({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
    EXPECT_EQ(ws->selected, QStringList({"a.jpg"})) << "a re-read keeps what is still there";
    EXPECT_EQ(browser::totalPanelText(*ws), "Total : 4");
}

TEST_F(BrowserEvents, ChangesOnDiskAreFollowedAndAVanishedFolderFallsBackToItsParent) {
    const QString deep = filesIn("pics/deep/er", {"z.jpg"});
    browser::changeFolder(*ws, deep);
    select({"z.jpg"});
    test::writeFile(deep + "/y.jpg", "x");
    browser::followFolderOnDisk(*ws);
    EXPECT_EQ(ws->files, QStringList({"y.jpg", "z.jpg"}));
    EXPECT_EQ(ws->fileSelected, QList<bool>({false, true}));

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
        browser::openStartupFolder(fresh);
        EXPECT_EQ(fresh.currentFolder, start);
        EXPECT_EQ(fresh.files, c.listed) << c.filter << c.hidden;
    }
    store->setValue("File System", "startup", dir.filePath("gone"));
    Workspace fallback(programFolder(), *store, SettingsEnvironment{1024, 768, dir.path()});
    fallback.loadSettings();
    browser::openStartupFolder(fallback);
    EXPECT_EQ(fallback.currentFolder, dir.path());
}

TEST_F(BrowserEvents, NewAttributeRulesReReadTheListKeepingTheSelection) {
    test::writeFile(pics + "/.d.jpg", "x");
    select({"b.jpg"});
    ws->settings.includeHidden = 1;
    browser::applyAttributeRules(*ws);
    EXPECT_EQ(ws->files, QStringList({".d.jpg", "a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(ws->selected, QStringList({"b.jpg"}));
    EXPECT_EQ(browser::totalPanelText(*ws), "Total : 4");
    EXPECT_EQ(ws->sizer, QStringList({"a.jpg", "b.jpg", "c.jpg"}))
        << "the statistics listing never shows hidden files";
    ws->settings.includeHidden = 0;
    browser::applyAttributeRules(*ws);
    EXPECT_EQ(ws->sizer, ws->files);
}
