#include "app/CommandDispatcher.h"
#include "app/SharedServices.h"

#include "ScriptedUi.h"

using namespace dovi;

// A command that runs while another lets events through is refused; the
// first keeps its own caption, busy state and progress to its end.
TEST(CommandGate, ACommandAskedForWhileAnotherRunsIsRefused) {
    test::ScriptedUi ui;
    CommandDispatcher commands(ui);
    // A command in the frame every file command runs: busy, caption, a step
    // per file letting events through, and its own idle at the end.
    commands.bind("mnudelete", [&] {
        setStatus(ui, true);
        ui.setCaption("Dovi v1.0.0 - Deleting File(s)");
        for (int i = 0; i < 3; ++i) {
            ui.processEvents();
            ui.progressValue = i + 1;
        }
        setStatus(ui, false);
    });
    commands.describe("mnudelete", "&Delete File(s)");
    int others = 0;
    commands.bind("mnuother", [&others] { ++others; });
    commands.bind("mnuRunningHist", [&others] { others += 100; });
    commands.allowWhileRunning("mnuRunningHist");

    QStringList midRun; // the state seen between files
    ui.onEvents = [&] {
        EXPECT_FALSE(commands.runControl("mnuother"));
        EXPECT_TRUE(commands.runControl("mnuRunningHist"));
        setStatus(ui, false); // an idle from inside ends nothing
        midRun << QString("%1 %2").arg(int(ui.idleLightBusy)).arg(ui.progressCaptions.last());
    };
    EXPECT_TRUE(commands.runControl("mnudelete"));

    EXPECT_EQ(others, 300) << "only the free control ran";
    EXPECT_EQ(midRun, QStringList(3, "1 Delete File(s)"));
    EXPECT_EQ(ui.promptTexts(), QStringList(3, "Please wait: Delete File(s) is still running."));
    EXPECT_EQ(std::pair(ui.waitCursor, ui.progressCaptions.last()), std::pair(false, kIdleCaption));
    ui.onEvents = {};
    EXPECT_TRUE(commands.runControl("mnuother")) << "the next command runs once the first ended";
}

TEST(CommandGate, ABusyStateEndsOnlyByItsOwnerAndNeverShowsTheIdleCaption) {
    test::ScriptedUi ui;
    const CommandGate::Claim preview = claimBusy(ui);
    ASSERT_NE(preview, 0u);
    setStatus(ui, true);      // a command takes the state over
    releaseBusy(ui, preview); // the preview's late answer
    EXPECT_TRUE(ui.idleLightBusy);
    EXPECT_FALSE(ui.progressCaptions.contains(kIdleCaption));
    setStatus(ui, false);
    // While a command runs the preview gets no claim and shows nothing.
    ASSERT_TRUE(ui.commandGate().tryEnter("Copy File(s)"));
    EXPECT_EQ(claimBusy(ui), 0u);
    EXPECT_FALSE(ui.idleLightBusy);
    setStatus(ui, true);
    EXPECT_EQ(ui.progressCaptions.last(), "Copy File(s)");
}
