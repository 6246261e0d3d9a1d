#include "browser/windows/BrowserCommandBindings.h"

#include "app/CommandDispatcher.h"
#include "app/HoldListOperations.h"
#include "browser/HoldListFiles.h"

namespace dovi {

void bindBrowserCommands(CommandDispatcher& commands, const CommandContext& context) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    ShellServices& shell = context.shell;

    commands.bind(QStringLiteral("mnuopenhold"), [&ws, &ui] { browser::openHoldList(ws, ui); });
    commands.bind(QStringLiteral("mnusavehold"), [&ws, &ui] { browser::saveHoldList(ws, ui); });
    commands.bind(QStringLiteral("mnuadd"), [&ws] { addToHoldList(ws); });
    commands.bind(QStringLiteral("mnuremovehold"), [&ws, &ui] { removeFromHoldList(ws, ui); });
    commands.bind(QStringLiteral("mnuclearhold"), [&ws] { clearHoldList(ws); });
    commands.bind(QStringLiteral("mnuheldpath"), [&ws, &ui] { goToHeldPath(ws, ui); });
    commands.bind(QStringLiteral("mnuRunningHist"), [&shell] { shell.showRunningHistory(); });
}

} // namespace dovi
