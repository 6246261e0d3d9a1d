#include "about/windows/AboutCommandBindings.h"

#include "about/windows/AboutWindow.h"
#include "app/CommandDispatcher.h"

#include <QDesktopServices>
#include <QPointer>

namespace dovi {

void bindAboutCommands(CommandDispatcher& commands, const CommandContext& context) {
    QPointer<QWidget> parent = context.parent;
    commands.bind(QStringLiteral("mnuabout"), [parent] {
        AboutWindow window(parent, about::readMemory,
                           [](const QUrl& url) { return QDesktopServices::openUrl(url); });
        window.exec();
    });
}

} // namespace dovi
