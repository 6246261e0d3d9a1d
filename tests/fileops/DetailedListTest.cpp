#include "fileops/DetailedList.h"

#include "imaging/ImagingEngine.h"

#include "WorkspaceFixture.h"

using namespace dovi;
using namespace dovi::test;
using fileops::MeasuredFile;

TEST(DetailedListLine, MeasuredFilesGiveSevenFieldsOthersThree) {
    const std::pair<MeasuredFile, QString> cases[] = {
        {{5, 246, 16, 16, 16, 4}, "/p/a,b.bmp,246,BMP,16,16,16,4"},
        {{8, 1234567, 1024, 768, 123456, 24}, "/p/a,b.bmp,1234567,JPG,1024,768,123456,24"},
        {{3, 10, 2, 3, 4, 8}, "/p/a,b.bmp,10,,2,3,4,8"}, // measured, a code without a name
        {{0, 77}, "/p/a,b.bmp,77,N/A"},
        {{6, 77, 2, 3, 4, 8}, "/p/a,b.bmp,77,N/A"},
    };
    for (const auto& [facts, expected] : cases)
        EXPECT_EQ(fileops::detailedListLine("/p/a,b.bmp", facts), expected);
}

namespace {

struct RecordingWindows : fileops::DetailedListWindows {
    void showRunningHistory() override {}
    void showCancelWindow() override {}
    void closeCancelWindow() override {}
};

} // namespace

TEST_F(WorkspaceFixture, DetailedListAsksWritesALinePerFileAndStopsOnCancel) {
    RecordingWindows windows;
    QStringList measured;
    const fileops::DetailedLineMaker lineFor = [&](const QString& path) {
        measured << path;
        return "line " + path;
    };
    const QString pics = folder("pics");
    makeFiles(pics, {"a.jpg", "b.jpg", "c.jpg"});
    show(pics);
    ws->addHistory("older line");
    ui.answers = {Answer::Yes, Answer::Yes};
    fileops::generateDetailedList(*ws, ui, windows, lineFor);
    EXPECT_EQ(ui.prompts,
              Prompts({question("Generate Detailed List", "Clear history list before beginning?",
                                MessageButtons::YesNoCancel),
                       question("Headings", "Include field headings?")}));
    EXPECT_EQ(historyLines(),
              QStringList({"Filename,File Size,Format,X,Y,Colours,BPP", "line " + pics + "/a.jpg",
                           "line " + pics + "/b.jpg", "line " + pics + "/c.jpg"}));

    measured.clear();

    // The cancel window's button stops after the current file; a stop left
    // over from an earlier list, or a right press on the tree, does not.
    ws->history.clear();
    ws->abortRequested = true;
    ws->skipNextTreeClick = true;
    ui.onEvents = [&] { ws->abortRequested = measured.size() == 2; };
    fileops::generateDetailedList(*ws, ui, windows, lineFor);
    EXPECT_EQ(historyLines(), QStringList({"line " + pics + "/a.jpg", "line " + pics + "/b.jpg"}));
}
