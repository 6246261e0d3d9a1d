#include "app/ActionList.h"

#include "WorkspaceFixture.h"

using namespace dovi;
using dovi::test::WorkspaceFixture;

TEST_F(WorkspaceFixture, ActionListPrefersTheHoldListThenTheSelectionThenEveryListedFile) {
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "f.bmp", "g.tga"});
    const QStringList held = {"/elsewhere/h1.jpg", "/elsewhere/h2.jpg"};
    const QStringList five = {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"};
    const QStringList all = {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg", "f.bmp", "g.tga"};

    const struct {
        const char* name;
        int held;
        bool bypass;
        QStringList selected;
        QStringList expectedNames; // names in the shown folder, or full paths
    } cases[] = {
        {"held wins over a selection", 2, false, five, held},
        {"bypass: the selection", 2, true, five, five},
        {"no selection: every listed file in order", 0, false, {}, all},
        {"a selection alone", 0, false, {"c.jpg", "a.jpg"}, {"a.jpg", "c.jpg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        show(pics, c.selected);
        ws->hold.clear();
        for (int i = 0; i < c.held; ++i)
            ws->hold.append(held[i]);
        ws->hold.bypass = c.bypass;
        QStringList expected;
        for (const QString& n : c.expectedNames)
            expected << (n.startsWith('/') ? n : pics + "/" + n);

        EXPECT_EQ(buildActionList(*ws, ui), expected);
    }
    EXPECT_TRUE(ui.prompts.isEmpty()) << "a hold list or selection source never gives the message";
}

TEST_F(WorkspaceFixture, NothingToActOnSaysSoAndGivesNothing) {
    show(folder("empty"));
    EXPECT_EQ(buildActionList(*ws, ui), std::nullopt);
    EXPECT_EQ(ui.prompts, test::Prompts({test::warning("No files to action!")}));
}
