#include "slideshow/windows/SlideshowCommandBindings.h"

#include "app/ActionList.h"
#include "app/CommandDispatcher.h"
#include "slideshow/windows/SlideShowWindow.h"

#include <QPointer>
#include <memory>

namespace dovi {

void bindSlideshowCommands(CommandDispatcher& commands, const CommandContext& context) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    ShellServices& shell = context.shell;
    QPointer<QWidget> parent = context.parent;
    auto open = std::make_shared<QPointer<SlideShowWindow>>();

    // The action list is built afresh for every start, so a second show in
    // random order has every file to shuffle again.
    commands.bind(QStringLiteral("mnuslideshow"), [&ws, &ui, &shell, parent, open] {
        const auto targets = buildActionList(ws, ui);
        if (!targets)
            return;
        if (!*open)
            *open = new SlideShowWindow(parent, ws, ui, shell);
        (*open)->startShow(*targets);
    });
}

} // namespace dovi
