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
    addToHoldList(*ws); // the same selection again: every file held twice
    const QStringList held = {pics + "/a.jpg", pics + "/b.bmp", pics + "/d.pcx"};
    EXPECT_EQ(ws->hold.fullPaths(), held + held);
    EXPECT_EQ(std::tuple(ws->hold.chosenIndex(), heldPanelText(*ws), changed.count()),
              std::tuple(0, QString("Held : 6"), 2));
    EXPECT_EQ(ws->history.lines().mid(0, 3),
              QStringList({held[0] + " added to hold list", held[1] + " added to hold list",
                           held[2] + " added to hold list"}));
}

TEST_F(HoldListOps, AtTheRootPathsAreNotDoubledAndHistoryOffWritesNothing) {
    ws->settings.historyLimit = 0;
    ws->currentFolder = "/";
    ws->selected = {"x.jpg", "y.jpg"};
    addToHoldList(*ws);
    EXPECT_EQ(ws->hold.fullPaths(), QStringList({"/x.jpg", "/y.jpg"}));
    EXPECT_TRUE(ws->history.isEmpty());
}

TEST_F(HoldListOps, RemovingTheChosenEntryTouchesBothListsAndClearingEmptiesThem) {
    select({"a.jpg", "b.bmp", "c.tga"});
    addToHoldList(*ws);
    chooseHeldEntry(*ws, 1);
    removeFromHoldList(*ws, ui);
    EXPECT_EQ(ws->hold.fullPaths(), QStringList({pics + "/a.jpg", pics + "/c.tga"}));
    EXPECT_EQ(ws->hold.names(), QStringList({"a.jpg", "c.tga"}));
    EXPECT_EQ(ws->history.lines().last(), pics + "/b.bmp removed from hold list");

    // Clearing empties both lists and unticks bypass without asking.
    setBypassHoldList(*ws, true);
    clearHoldList(*ws);
    EXPECT_EQ(std::tuple(ws->hold.names().size(), ws->hold.bypass, heldPanelText(*ws)),
              std::tuple(qsizetype(0), false, QString("Held : 0")));
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
    ws->hold.append(dir.filePath("gone/x.bmp"));
    ws->hold.choose(0);
    goToHeldPath(*ws, ui);
    EXPECT_EQ(ws->files.names(), QStringList({"x.bmp", "y.bmp"}));
    EXPECT_TRUE(ui.prompts.isEmpty());

    // A folder that has gone: said so, and the browser stays put.
    ws->hold.choose(1);
    goToHeldPath(*ws, ui);
    ASSERT_EQ(ui.prompts.size(), 1);
    EXPECT_TRUE(ui.prompts[0].text.contains(dir.filePath("gone")));
    EXPECT_EQ(ws->currentFolder, year);
}
