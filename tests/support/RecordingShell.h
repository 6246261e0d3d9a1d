#pragma once
#include "app/CommandContext.h"

namespace dovi::test {

// A shell for binder tests: counts what the commands asked of it.
struct RecordingShell : ShellServices {
    int historyShown = 0;
    int treeRefreshes = 0;
    void showRunningHistory() override { ++historyShown; }
    void refreshFolderTree() override { ++treeRefreshes; }
};

} // namespace dovi::test
