#pragma once
#include "extras/DesktopTools.h"

#include <QImage>
#include <QString>
#include <functional>

namespace dovi {
class Workspace;
class Ui;
} // namespace dovi

// The main window's small commands that hand a picture or a request to the
// desktop: the wallpaper, the clipboard, a program to run, the file manager.
namespace dovi::extras {

inline const QString kWallpaperFileName = QStringLiteral("Dovi Wallpaper.bmp");
inline const QString kSingleImageMessage = QStringLiteral("Please select a single image file");
inline const QString kUnsupportedImageMessage =
    QStringLiteral("The file is not a supported image type");
inline const QString kWallpaperErrorMessage = QStringLiteral("Error changing wallpaper!");
inline const QString kRunTitle = QStringLiteral("Run External Application");
inline const QString kRunPrompt =
    QStringLiteral("Type the name of a program, folder or document to open:");

struct WallpaperPlace {
    QString dataFolder; // where "Dovi Wallpaper.bmp" is written
    Desktop desktop = Desktop::Unknown;
};

// "Set Image as Wallpaper": exactly one name selected; the first file of the
// action list (the first held one while the hold list is in force) is loaded,
// written as a Windows bitmap at its own size to the data folder (through a
// temporary file, so a desktop reading it never sees half a picture) and
// made the desktop's wallpaper; then the history line and beep.
void setWallpaper(Workspace& ws, Ui& ui, const WallpaperPlace& place, const DesktopTools& tools,
                  const std::function<void()>& beep);

// "Copy Image to Clipboard": the file the preview shows (the logo when it
// shows none) goes to the clipboard at full size, then the beep and the
// history line "Copied <file> to clipboard".
void copyImageToClipboard(Workspace& ws, Ui& ui, const QString& previewedFile,
                          const std::function<void(const QImage&)>& toClipboard,
                          const std::function<void()>& beep);

// "Run External Application": the desktop's own run dialog where it has one
// that can be started; otherwise Dovi asks for a command line and starts it
// detached (a folder or document typed there opens in its default program).
void runExternalApplication(Ui& ui, Desktop desktop, const DesktopTools& tools);

// "Launch File Manager": the folder shown, in the default file manager.
void launchFileManager(const Workspace& ws, Ui& ui, const DesktopTools& tools);

} // namespace dovi::extras
