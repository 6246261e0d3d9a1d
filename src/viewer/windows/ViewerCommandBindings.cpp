#include "viewer/windows/ViewerCommandBindings.h"

#include "app/ActionList.h"
#include "app/CommandDispatcher.h"
#include "app/Workspace.h"
#include "viewer/BatchButtonize.h"
#include "viewer/windows/ButtonizeDialog.h"

#include <QApplication>
#include <QPointer>

namespace dovi {

void bindViewerCommands(CommandDispatcher& commands, const CommandContext& context) {
    Workspace& ws = context.workspace;
    Ui& ui = context.ui;
    QPointer<QWidget> parent = context.parent;
    commands.bind(QStringLiteral("mnubutton"), [&ws, &ui, parent] {
        const auto targets = buildActionList(ws, ui);
        if (!targets)
            return;
        // Batch mode: the dialog only picks the settings.
        ButtonizeDialog dialog(parent, nullptr, ui);
        if (dialog.exec() != QDialog::Accepted)
            return;
        dialog.hide();
        if (parent)
            parent->repaint();
        viewer::buttonizeFiles(ws, ui, *targets, dialog.settings());
    });
}

} // namespace dovi
