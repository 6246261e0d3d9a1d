#pragma once
#include "app/CommandContext.h"

#include <QString>
#include <QStringList>
#include <deque>

namespace dovi::test {

// A shell for binder tests: counts what the commands asked of it.
struct RecordingShell : ShellServices {
    int historyShown = 0;
    int treeRefreshes = 0;
    void showRunningHistory() override { ++historyShown; }
    void refreshFolderTree() override { ++treeRefreshes; }
    // The files handed to the viewer, and what to run when "it" closes.
    QStringList viewed;
    std::function<void()> afterViewerClose;
    void openViewer(const QString& path, std::function<void()> afterClose) override {
        viewed << path;
        afterViewerClose = std::move(afterClose);
    }

    void closeWhenBrowsing(QWidget*) override {}
    // Quick links, preferences, desktop commands: every call in order.
    QStringList calls;
    std::deque<std::optional<QString>> selectedFolders; // cancelled once empty
    QString previewed;
    void showFolder(const QString& folder) override { calls << "showFolder " + folder; }
    void showSlideshowOptions() override { calls << "showSlideshowOptions"; }
    void showProcessingSize() override { calls << "showProcessingSize"; }
    std::optional<QString> selectFolder() override {
        calls << "selectFolder";
        if (selectedFolders.empty())
            return std::nullopt;
        const std::optional<QString> folder = selectedFolders.front();
        selectedFolders.pop_front();
        return folder;
    }
    QString previewedFile() const override { return previewed; }
};

} // namespace dovi::test
