#include "app/IniStore.h"
#include "app/Workspace.h"
#include "browser/BrowserState.h"
#include "browser/FileListing.h"

#include "TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace dovi;

namespace {

struct BrowserFixture : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<IniStore> store;
    std::unique_ptr<Workspace> ws;
    QString photos() const { return dir.filePath("photos"); }

    void SetUp() override {
        QDir().mkpath(photos());
        for (const char* n : {"a.jpg", "b.JPG", "c.tga", "d.txt", "e.bmp"})
            test::writeFile(photos() + "/" + n, "x");
        store = std::make_unique<IniStore>(dir.filePath("Dovi.ini"));
        ws = std::make_unique<Workspace>(dir.filePath("prog"), *store,
                                         SettingsEnvironment{1024, 768, dir.path()});
        ws->loadSettings();
        ws->filePattern = browser::patternForFilter(ws->settings.filterIndex);
    }
};

} // namespace

TEST_F(BrowserFixture, FolderChangeListsSelectsNothingAndCounts) {
    QSignalSpy reset(ws.get(), &Workspace::previewReset);
    browser::changeFolder(*ws, photos() + "/");
    EXPECT_EQ(ws->currentFolder, photos());
    EXPECT_EQ(ws->files, QStringList({"a.jpg", "b.JPG", "c.tga", "e.bmp"}));
    EXPECT_EQ(browser::totalPanelText(*ws), "Total : 4");
    EXPECT_EQ(browser::selectedPanelText(*ws), "Selected : 0");
    EXPECT_EQ(ws->sizer.size(), 4);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(browser::fullPath(*ws, "a.jpg"), photos() + "/a.jpg");
    browser::changeFolder(*ws, "/");
    EXPECT_EQ(browser::fullPath(*ws, "etc"), "/etc");
}

TEST_F(BrowserFixture, SelectionSurvivesAReReadOnlyForNamesStillThere) {
    browser::changeFolder(*ws, photos());
    ws->fileSelected = {true, false, true, false};
    browser::refreshSelection(*ws);
    EXPECT_EQ(ws->selected, QStringList({"a.jpg", "c.tga"}));
    EXPECT_EQ(browser::selectedPanelText(*ws), "Selected : 2");
    QFile::remove(photos() + "/a.jpg");
    test::writeFile(photos() + "/0.bmp", "x");
    browser::rereadFiles(*ws);
    browser::refreshSelection(*ws);
    EXPECT_EQ(ws->files, QStringList({"0.bmp", "b.JPG", "c.tga", "e.bmp"}));
    EXPECT_EQ(ws->selected, QStringList({"c.tga"}));
}

TEST_F(BrowserFixture, ChoosingAFilterNarrowsClearsTheSelectionAndStoresItAtOnce) {
    browser::changeFolder(*ws, photos());
    ws->fileSelected = {true, true, true, true};
    browser::refreshSelection(*ws);
    browser::chooseFilter(*ws, 4);
    EXPECT_EQ(ws->files, QStringList({"c.tga"}));
    EXPECT_TRUE(ws->selected.isEmpty());
    EXPECT_EQ(IniStore(dir.filePath("Dovi.ini")).value("File System", "filter", "?"), "4");
    browser::chooseFilter(*ws, 9); // no such entry: the pattern stays
    EXPECT_EQ(ws->filePattern, "*.TGA");
    browser::chooseFilter(*ws, 0);
    EXPECT_EQ(ws->files.size(), 5);
}

TEST(RunningHistory, LimitTrimsOneLinePerAddAndZeroKeepsNothing) {
    RunningHistory h;
    for (const char* line : {"a", "b", "c", "d"})
        h.add(line, 3);
    EXPECT_EQ(h.lines(), QStringList({"b", "c", "d"}));
    EXPECT_EQ(h.caption(), "Dovi Running History - 3 item(s)");
    h.add("e", 1); // lowering the limit removes one line per call only
    EXPECT_EQ(h.count(), 3);
    RunningHistory off;
    off.add("heading", 0);
    EXPECT_TRUE(off.isEmpty());
    EXPECT_EQ(off.caption(), "Dovi Running History - 0 item(s)");
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
