#pragma once
#include "app/CommandContext.h"

#include <QStringList>

namespace dovi::test {

// A shell for binder tests: counts what the commands asked of it.
struct RecordingShell : ShellServices {
    int historyShown = 0;
    int treeRefreshes = 0;
    void showRunningHistory() override { ++historyShown; }
    void refreshFolderTree() override { ++treeRefreshes; }
    QStringList viewerOpened;
    void openViewer(const QString& path, std::function<void()>) override { viewerOpened << path; }
};

} // namespace dovi::test
