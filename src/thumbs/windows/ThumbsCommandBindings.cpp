#include "thumbs/windows/ThumbsCommandBindings.h"

#include "app/ActionList.h"
#include "app/CommandDispatcher.h"
#include "thumbs/windows/ThumbsWindow.h"

#include <QPointer>
#include <memory>

namespace dovi {

void bindThumbsCommands(CommandDispatcher& commands, const CommandContext& context) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    ShellServices& shell = context.shell;
    QPointer<QWidget> parent = context.parent;
    auto open = std::make_shared<QPointer<ThumbsWindow>>();

    commands.bind(QStringLiteral("mnuThumbs"), [&ws, &ui, &shell, parent, open] {
        // The run lets the main window's events through: a second command
        // meanwhile brings the window up rather than starting another run.
        if (*open && (*open)->generating()) {
            (*open)->raise();
            (*open)->activateWindow();
            return;
        }
        const auto targets = buildActionList(ws, ui);
        if (!targets)
            return;
        if (!*open)
            *open = new ThumbsWindow(parent, ws, shell);
        shell.closeWhenBrowsing(*open);
        QPointer<ThumbsWindow> window = *open;
        window->generate(*targets);
    });
}

} // namespace dovi
