#include "extras/windows/ExtrasCommandBindings.h"

#include "app/CommandDispatcher.h"
#include "extras/DesktopCommands.h"
#include "extras/windows/FavsWindow.h"
#include "extras/windows/SettingsWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QStandardPaths>
#include <memory>

namespace dovi {

void bindExtrasCommands(CommandDispatcher& commands, const CommandContext& context) {
    bindExtrasCommands(commands, context, extras::runningDesktop(), extras::DesktopTools::system(),
                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

void bindExtrasCommands(CommandDispatcher& commands, const CommandContext& context,
                        extras::Desktop desktop, extras::DesktopTools tools, QString dataFolder) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    ShellServices& shell = context.shell;
    QPointer<QWidget> parent = context.parent;
    auto shared = std::make_shared<extras::DesktopTools>(std::move(tools));
    // One quick links window, brought up again rather than opened twice.
    auto favs = std::make_shared<QPointer<FavsWindow>>();

    commands.bind(QStringLiteral("mnuquick"), [&ws, &ui, &shell, parent, favs] {
        if (!*favs) {
            *favs = new FavsWindow(parent, ws, ui, shell);
            (*favs)->setAttribute(Qt::WA_DeleteOnClose);
        }
        (*favs)->show();
        (*favs)->raise();
        (*favs)->activateWindow();
    });
    commands.bind(QStringLiteral("mnuprefs"), [&ws, &shell, parent] {
        SettingsWindow window(parent, ws, shell);
        window.exec();
    });
    const auto beep = [] { QApplication::beep(); };
    commands.bind(QStringLiteral("mnuwallpaper"), [&ws, &ui, shared, desktop, dataFolder, beep] {
        extras::setWallpaper(ws, ui, {dataFolder, desktop}, *shared, beep);
    });
    commands.bind(QStringLiteral("mnuclip"), [&ws, &ui, &shell, beep] {
        extras::copyImageToClipboard(
            ws, ui, shell.previewedFile(),
            [](const QImage& image) { QApplication::clipboard()->setImage(image); }, beep);
    });
    commands.bind(QStringLiteral("mnuRun"),
                  [&ui, shared, desktop] { extras::runExternalApplication(ui, desktop, *shared); });
    commands.bind(QStringLiteral("mnuexplorer"),
                  [&ws, &ui, shared] { extras::launchFileManager(ws, ui, *shared); });
}

} // namespace dovi
