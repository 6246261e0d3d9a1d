#include "fileops/DetailedList.h"

#include "imaging/ImagingEngine.h"

#include "WorkspaceFixture.h"

using namespace dovi;
using dovi::test::WorkspaceFixture;
using fileops::MeasuredFile;

TEST(DetailedListLine, MeasuredFilesGiveSevenFieldsOthersThree) {
    const struct {
        MeasuredFile facts;
        QString expected;
    } cases[] = {
        {{5, 246, 16, 16, 16, 4}, "/p/a,b.bmp,246,BMP,16,16,16,4"},
        {{8, 1234567, 1024, 768, 123456, 24}, "/p/a,b.bmp,1234567,JPG,1024,768,123456,24"},
        {{1, 10, 2, 3, 4, 32}, "/p/a,b.bmp,10,TGA,2,3,4,32"},
        {{2, 10, 2, 3, 4, 1}, "/p/a,b.bmp,10,PCX,2,3,4,1"},
        // Measured, but a code without a format name.
        {{3, 10, 2, 3, 4, 8}, "/p/a,b.bmp,10,,2,3,4,8"},
        {{20, 10, 2, 3, 4, 8}, "/p/a,b.bmp,10,,2,3,4,8"},
        {{0, 77}, "/p/a,b.bmp,77,N/A"},
        {{6, 77, 2, 3, 4, 8}, "/p/a,b.bmp,77,N/A"},
        {{7, 77, 2, 3, 4, 8}, "/p/a,b.bmp,77,N/A"},
        {{10, 77, 2, 3, 4, 8}, "/p/a,b.bmp,77,N/A"},
        {{12, 77, 2, 3, 4, 8}, "/p/a,b.bmp,77,N/A"},
        {{21, 77, 2, 3, 4, 8}, "/p/a,b.bmp,77,N/A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileops::detailedListLine("/p/a,b.bmp", c.facts), c.expected);
}

TEST(DetailedListLine, MeasuresWithTheEngine) {
    QTemporaryDir dir;
    const QString bmp = dir.filePath("four, bit.bmp");
    const QString text = dir.filePath("notes.bmp");
    ASSERT_TRUE(dovi::test::writeFile(bmp, dovi::test::sixteenColourBmp()));
    ASSERT_TRUE(dovi::test::writeFile(text, "not a picture at all"));
    imaging::ImagingEngine engine;
    EXPECT_EQ(fileops::detailedListLine(bmp, engine), bmp + ",246,BMP,16,16,16,4");
    EXPECT_EQ(fileops::detailedListLine(text, engine), text + ",20,N/A");
    EXPECT_EQ(fileops::detailedListLine(dir.filePath("gone.jpg"), engine),
              dir.filePath("gone.jpg") + ",0,N/A");
}

namespace {

struct RecordingWindows : fileops::DetailedListWindows {
    QStringList calls;
    void showRunningHistory() override { calls << "history"; }
    void showCancelWindow() override { calls << "show cancel"; }
    void closeCancelWindow() override { calls << "close cancel"; }
};

struct DetailedFixture : WorkspaceFixture {
    RecordingWindows windows;
    QStringList measured;
    QString pics;
    fileops::DetailedLineMaker lineFor = [this](const QString& path) {
        measured << path;
        return "line " + path;
    };
    void SetUp() override {
        WorkspaceFixture::SetUp();
        pics = folder("pics");
        makeFiles(pics, {"a.jpg", "b.jpg", "c.jpg"});
        show(pics);
    }
};

} // namespace

TEST_F(DetailedFixture, AsksAboutHistoryAndHeadingsWritesALinePerFileAndStopsOnCancel) {
    ws->addHistory("older line");
    ui.answers = {Answer::Yes, Answer::Yes};
    fileops::generateDetailedList(*ws, ui, windows, lineFor);
    EXPECT_EQ(ui.prompts, test::Prompts({test::question("Generate Detailed List",
                                                        "Clear history list before beginning?",
                                                        MessageButtons::YesNoCancel),
                                         test::question("Headings", "Include field headings?")}));
    EXPECT_EQ(historyLines(),
              QStringList({"Filename,File Size,Format,X,Y,Colours,BPP", "line " + pics + "/a.jpg",
                           "line " + pics + "/b.jpg", "line " + pics + "/c.jpg"}));
    EXPECT_EQ(windows.calls, QStringList({"history", "show cancel", "close cancel"}));
    EXPECT_EQ(ui.highestProgress(), 3);
    EXPECT_FALSE(ui.idleLightBusy);

    // Cancel to the first question: nothing measured, no window.
    windows.calls.clear();
    measured.clear();
    ui.answers = {Answer::Cancel};
    fileops::generateDetailedList(*ws, ui, windows, lineFor);
    EXPECT_TRUE(measured.isEmpty());
    EXPECT_TRUE(windows.calls.isEmpty());

    // The cancel window's button stops after the current file; a stop left
    // over from an earlier list, or a right press on the tree, does not.
    ws->history.clear();
    ws->abortRequested = true;
    ws->skipNextTreeClick = true;
    ui.onEvents = [this] { ws->abortRequested = measured.size() == 2; };
    fileops::generateDetailedList(*ws, ui, windows, lineFor);
    EXPECT_EQ(historyLines(), QStringList({"line " + pics + "/a.jpg", "line " + pics + "/b.jpg"}));
    EXPECT_EQ(windows.calls.last(), "close cancel");
    EXPECT_FALSE(ui.idleLightBusy);
}
