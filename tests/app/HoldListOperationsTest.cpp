#include "app/HoldListOperations.h"

#include "WorkspaceFixture.h"

#include <QSignalSpy>

using namespace dovi;
using dovi::test::WorkspaceFixture;

namespace {

struct HoldListOps : WorkspaceFixture {
    QString pics;
    void SetUp() override {
        WorkspaceFixture::SetUp();
        pics = filesIn("pics", {"a.jpg", "b.bmp", "c.tga", "d.pcx"});
        changeFolder(*ws, pics);
    }
};

} // namespace

TEST_F(HoldListOps, AddingHoldsTheSelectionAsLastRefreshedWithOneHistoryLineEach) {
    select({"a.jpg", "b.bmp", "d.pcx"});
    // The live selection moves on, but nothing refreshed it: the add uses the old one.
    select({"c.tga"}, false);
    QSignalSpy changed(ws.get(), &Workspace::holdListChanged);
    addToHoldList(*ws);
    const QStringList held = {pics + "/a.jpg", pics + "/b.bmp", pics + "/d.pcx"};
    EXPECT_EQ(ws->hold.fullPaths(), held);
    EXPECT_EQ(std::tuple(ws->hold.chosenIndex(), heldPanelText(*ws), changed.count()),
              std::tuple(0, QString("Held : 3"), 1));
    EXPECT_EQ(ws->history.lines(),
              QStringList({held[0] + " added to hold list", held[1] + " added to hold list",
                           held[2] + " added to hold list"}));

    addToHoldList(*ws); // the same selection again: every file held twice
    EXPECT_EQ(ws->hold.count(), 6);
    EXPECT_EQ(ws->hold.fullPaths().mid(3), ws->hold.fullPaths().mid(0, 3));
    EXPECT_TRUE(ui.prompts.isEmpty());
}

TEST_F(HoldListOps, AtTheRootPathsAreNotDoubledAndHistoryOffWritesNothing) {
    ws->settings.historyLimit = 0;
    ws->currentFolder = "/";
    ws->selected = {"x.jpg", "y.jpg"};
    addToHoldList(*ws);
    EXPECT_EQ(ws->hold.fullPaths(), QStringList({"/x.jpg", "/y.jpg"}));
    EXPECT_TRUE(ws->history.isEmpty());

    ws->selected.clear(); // an empty selection adds nothing but still chooses the first
    ws->hold.choose(1);
    addToHoldList(*ws);
    EXPECT_EQ(std::pair(ws->hold.count(), ws->hold.chosenIndex()), std::pair(2, 0));
}

TEST_F(HoldListOps, RemovingTheChosenEntryTouchesBothListsAndClearingEmptiesThem) {
    select({"a.jpg", "b.bmp", "c.tga"});
    addToHoldList(*ws);
    chooseHeldEntry(*ws, 1);
    removeFromHoldList(*ws, ui);
    EXPECT_EQ(ws->hold.fullPaths(), QStringList({pics + "/a.jpg", pics + "/c.tga"}));
    EXPECT_EQ(ws->hold.names(), QStringList({"a.jpg", "c.tga"}));
    EXPECT_EQ(std::pair(ws->hold.chosenIndex(), heldPanelText(*ws)),
              std::pair(0, QString("Held : 2")));
    EXPECT_EQ(ws->history.lines().last(), pics + "/b.bmp removed from hold list");

    // Clearing empties both lists and unticks bypass without asking or logging.
    const int historyBefore = ws->history.count();
    setBypassHoldList(*ws, true);
    clearHoldList(*ws);
    EXPECT_EQ(std::tuple(ws->hold.isEmpty(), ws->hold.names().size(), ws->hold.bypass,
                         heldPanelText(*ws), ws->history.count()),
              std::tuple(true, qsizetype(0), false, QString("Held : 0"), historyBefore));
    EXPECT_TRUE(ui.prompts.isEmpty());
}

TEST_F(HoldListOps, NothingChosenWarnsAndChangesNothing) {
    ws->hold.append("/elsewhere/x.jpg");
    chooseHeldEntry(*ws, -1);
    for (void (*op)(Workspace&, Ui&) : {removeFromHoldList, goToHeldPath})
        op(*ws, ui);
    EXPECT_EQ(ui.prompts, test::Prompts(2, test::warning("Please select a hold list item")));
    EXPECT_EQ(std::pair(ws->hold.count(), ws->currentFolder), std::pair(1, pics));
}

TEST_F(HoldListOps, GoingToTheHeldPathListsThatFolderOrSaysItHasGone) {
    const QString year = filesIn("photos/2001", {"x.bmp", "y.bmp"});
    ws->hold.append(year + "/x.bmp");
    ws->hold.choose(0);
    QSignalSpy folderShown(ws.get(), &Workspace::currentFolderChanged);
    goToHeldPath(*ws, ui);
    EXPECT_EQ(ws->currentFolder, year);
    EXPECT_EQ(ws->files.names(), QStringList({"x.bmp", "y.bmp"}));
    ASSERT_EQ(folderShown.count(), 1);
    EXPECT_EQ(folderShown[0][0].toString(), year) << "the folder shown is signalled";
    EXPECT_TRUE(ui.prompts.isEmpty());

    // A folder that has gone: said so, and the browser stays put.
    ws->hold.append(dir.filePath("gone/x.bmp"));
    ws->hold.choose(1);
    goToHeldPath(*ws, ui);
    ASSERT_EQ(ui.prompts.size(), 1);
    EXPECT_TRUE(ui.prompts[0].text.contains(dir.filePath("gone")));
    EXPECT_EQ(ws->currentFolder, year);
}
