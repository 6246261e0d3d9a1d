#include "app/windows/StopItWindow.h"

#include "WorkspaceFixture.h"

using namespace dovi;
using dovi::test::WorkspaceFixture;

TEST_F(WorkspaceFixture, StopItWindowsCancelAsksTheListToStop) {
    auto* w = new StopItWindow(nullptr, *ws);
    ws->abortRequested = false;
    w->cancelButton()->click();
    EXPECT_TRUE(ws->abortRequested);
    delete w;
}
