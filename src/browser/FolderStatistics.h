#pragma once
#include <QString>
#include <optional>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

namespace dovi::browser {

// What the folder statistics put on the preview's information labels. The
// X and Y labels are never touched; the depth label only when files are there.
struct FolderStatistics {
    QString size;
    QString colours;
    std::optional<QString> bpp;
};

// The tree's right button: sums the sizes of the statistics listing with the
// busy state and the progress bar ("Calculating Folder Size"), and returns
// the label texts: "Total Displayed Files", "6,000(b)", "Avg Size: 2,000(b)";
// for a folder without listed files "Current Folder Size", "Empty Folder".
FolderStatistics showFolderStatistics(Workspace& ws, Ui& ui);

} // namespace dovi::browser
