#include "extras/DesktopCommands.h"

#include "app/ActionList.h"
#include "app/ProgramFiles.h"
#include "app/SharedServices.h"
#include "app/Workspace.h"
#include "extras/WallpaperSetting.h"
#include "imaging/ImagingEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace dovi::extras {

void setWallpaper(Workspace& ws, Ui& ui, const WallpaperPlace& place, const DesktopTools& tools,
                  const std::function<void()>& beep) {
    if (ws.selected.size() != 1) {
        showMessage(ui, kSingleImageMessage);
        return;
    }
    const std::optional<QStringList> targets = buildActionList(ws, ui);
    if (!targets || targets->isEmpty())
        return;
    const QString source = targets->first();
    imaging::ImagingEngine engine;
    engine.load(source);
    if (engine.imageFileType() == 0) {
        showMessage(ui, kUnsupportedImageMessage);
        return;
    }
    if (place.dataFolder.isEmpty())
        return;
    QDir().mkpath(place.dataFolder);
    const QString target = joinPath(place.dataFolder, kWallpaperFileName);
    clearAttributes(target);
    if (!engine.save(target, imaging::Bmp)) {
        showMessage(ui, QStringLiteral("Unable to write %1: %2").arg(target, engine.lastError()));
        return;
    }
    if (!applyWallpaper(place.desktop, target, tools)) {
        showMessage(ui, kWallpaperErrorMessage);
        return;
    }
    if (ws.settings.historyLimit != 0)
        ws.addHistory(QStringLiteral("Set ") + source + QStringLiteral(" as wallpaper"));
    if (beep)
        beep();
}

void copyImageToClipboard(Workspace& ws, Ui& ui, const QString& previewedFile,
                          const std::function<void(const QImage&)>& toClipboard,
                          const std::function<void()>& beep) {
    const QString file = previewedFile.isEmpty()
                             ? programFilePath(ws.programFolder(), kLogoFileName)
                             : previewedFile;
    imaging::ImagingEngine engine;
    if (!engine.load(file)) {
        // The file went since it was previewed: saying nothing would pass
        // for a copy that never happened.
        showMessage(ui, kUnsupportedImageMessage);
        return;
    }
    toClipboard(engine.pixels());
    if (beep)
        beep();
    if (ws.settings.historyLimit != 0)
        ws.addHistory(QStringLiteral("Copied ") + file + QStringLiteral(" to clipboard"));
}

namespace {

struct RunDialog {
    QString program;
    QStringList args;
};

// Desktops whose run dialog is a program Dovi can start.
std::optional<RunDialog> runDialogOf(Desktop desktop) {
    switch (desktop) {
    case Desktop::Kde:
        return RunDialog{QStringLiteral("krunner"), {}};
    case Desktop::Xfce:
        return RunDialog{QStringLiteral("xfce4-appfinder"), {QStringLiteral("--collapsed")}};
    case Desktop::Mate:
        return RunDialog{QStringLiteral("mate-panel"), {QStringLiteral("--run-dialog")}};
    default:
        return std::nullopt;
    }
}

} // namespace

void runExternalApplication(Ui& ui, Desktop desktop, const DesktopTools& tools) {
    if (const auto dialog = runDialogOf(desktop))
        if (tools.startDetached(dialog->program, dialog->args))
            return;
    const std::optional<QString> typed = ui.inputText(kRunTitle, kRunPrompt, QString());
    if (!typed || typed->trimmed().isEmpty())
        return;
    const QString line = typed->trimmed();
    const QString expanded =
        line.startsWith(QLatin1String("~/")) ? QDir::homePath() + line.mid(1) : line;
    QStringList words = QProcess::splitCommand(expanded);
    const QFileInfo named(expanded);
    // A folder or document typed whole opens in its own program.
    if (named.isAbsolute() && named.exists() && (named.isDir() || !named.isExecutable())) {
        if (!tools.openUrl(QUrl::fromLocalFile(expanded)))
            showMessage(ui, QStringLiteral("Unable to open ") + line);
        return;
    }
    if (words.isEmpty()) {
        showMessage(ui, QStringLiteral("Unable to run ") + line);
        return;
    }
    const QString program = words.takeFirst();
    if (!tools.startDetached(program, words))
        showMessage(ui, QStringLiteral("Unable to run ") + line);
}

void launchFileManager(const Workspace& ws, Ui& ui, const DesktopTools& tools) {
    const QString folder = ws.currentFolder.isEmpty() ? QDir::homePath() : ws.currentFolder;
    if (!tools.openUrl(QUrl::fromLocalFile(folder)))
        showMessage(ui, QStringLiteral("Unable to open ") + folder +
                            QStringLiteral(" in the file manager"));
}

} // namespace dovi::extras
