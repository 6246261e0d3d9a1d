#include "browser/windows/StopItWindow.h"

#include "fileops/FileOpsFixture.h"

using namespace dovi;
using dovi::test::FileOpsFixture;

TEST_F(FileOpsFixture, StopItWindowsCancelAsksTheListToStop) {
    auto* w = new StopItWindow(nullptr, *ws);
    EXPECT_EQ(w->windowTitle(), "Stop It!");
    EXPECT_EQ(w->cancelButton()->text(), "Cancel");
    ws->abortRequested = false;
    w->cancelButton()->click();
    EXPECT_TRUE(ws->abortRequested);
    delete w;
}
