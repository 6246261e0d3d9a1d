#include "browser/HistoryOperations.h"

#include "WorkspaceFixture.h"

#include <QFileInfo>
#include <QSignalSpy>

using namespace dovi;
using dovi::test::WorkspaceFixture;

namespace {

struct HistoryOps : WorkspaceFixture {
    QString out(const QString& name) const { return dir.filePath(name); }
    void addLines(const QStringList& lines) {
        for (const QString& l : lines)
            ws->addHistory(l);
    }
};

} // namespace

TEST_F(HistoryOps, ExportWritesEveryLineOldestFirstWithCrLfAndNoLineOfItsOwn) {
    addLines({"Viewed /p/a.jpg", "Saved the hold list", "Ünïcode /p/é.jpg"});
    ui.chosenPaths = {out("log")};
    browser::exportHistory(*ws, ui);
    EXPECT_EQ(test::readFile(out("log.hst")),
              QString("Viewed /p/a.jpg\r\nSaved the hold list\r\nÜnïcode /p/é.jpg\r\n").toUtf8());
    EXPECT_EQ(ws->history.count(), 3);
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_FALSE(ui.idleLightBusy);
    EXPECT_EQ(ui.progressCaptions.last(), "Dovi - Idle");
}

TEST_F(HistoryOps, TheChosenNameKeepsOnlyAnExactLowerOrUpperExtension) {
    addLines({"x"});
    const struct {
        const char* typed;
        const char* written;
    } cases[] = {{"log", "log.hst"}, {"log.HST", "log.HST"}, {"log.Hst", "log.Hst.hst"}};
    for (const auto& c : cases) {
        ui.chosenPaths = {out(c.typed)};
        browser::exportHistory(*ws, ui);
        EXPECT_TRUE(QFileInfo::exists(out(c.written))) << c.typed;
    }
    EXPECT_FALSE(QFileInfo::exists(out("log")));
}

TEST_F(HistoryOps, ExportingOverAnExistingFileAsksAboutTheNameReallyWritten) {
    test::writeFile(out("log.hst"), "old");
    addLines({"new"});
    ui.chosenPaths = {out("log")};
    ui.answers = {Answer::No};
    browser::exportHistory(*ws, ui);
    ASSERT_EQ(ui.prompts.size(), 1);
    EXPECT_EQ(ui.prompts[0].title, "Query");
    EXPECT_EQ(ui.prompts[0].text, "File Already Exists. Overwrite it ?");
    EXPECT_EQ(ui.prompts[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(test::readFile(out("log.hst")), "old");

    ui.chosenPaths = {out("log")};
    ui.answers = {Answer::Yes};
    browser::exportHistory(*ws, ui);
    EXPECT_EQ(test::readFile(out("log.hst")), "new\r\n");
}

TEST_F(HistoryOps, AnEmptyHistoryWarnsAndACancelledDialogWritesNothing) {
    ui.chosenPaths = {out("log")};
    browser::exportHistory(*ws, ui);
    EXPECT_EQ(ui.promptTexts(), QStringList({"The History List is empty"}));
    EXPECT_EQ(ui.chosenPaths.size(), 1u);

    ui.prompts.clear();
    ui.chosenPaths.clear();
    addLines({"x"});
    browser::exportHistory(*ws, ui);
    EXPECT_TRUE(ui.prompts.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.hst"}).isEmpty());
}

TEST_F(HistoryOps, AFailedWriteSaysWhyAndLeavesTheIdleState) {
    addLines({"x"});
    ui.chosenPaths = {out("no-such-folder/log")};
    browser::exportHistory(*ws, ui);
    ASSERT_EQ(ui.prompts.size(), 1);
    EXPECT_TRUE(ui.prompts[0].text.startsWith("Could not save " + out("no-such-folder/log.hst")));
    EXPECT_FALSE(ui.idleLightBusy);
}

TEST_F(HistoryOps, TheLimitTrimsTheOldestAndClearingEmptiesTheCaption) {
    ws->settings.historyLimit = 3;
    QSignalSpy changed(ws.get(), &Workspace::historyChanged);
    addLines({"a", "b", "c", "d"});
    EXPECT_EQ(ws->history.lines(), QStringList({"b", "c", "d"}));
    EXPECT_EQ(ws->history.caption(), "Dovi Running History - 3 item(s)");
    browser::clearHistory(*ws);
    EXPECT_TRUE(ws->history.isEmpty());
    EXPECT_EQ(ws->history.caption(), "Dovi Running History - 0 item(s)");
    EXPECT_EQ(changed.count(), 5);
}
