#include "series/windows/OkayCancelBar.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>

namespace dovi {

QToolBar* makeOkayCancelBar(QWidget* parent, std::function<void(const QString&)> run) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("tool"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const struct {
        const char* key;
        const char* text;
        const char* icon;
    } buttons[] = {{"okay", "OK", "dialog-ok"}, {"cancel", "Cancel", "dialog-cancel"}};
    for (const auto& b : buttons) {
        QAction* action =
            bar->addAction(QIcon::fromTheme(QLatin1String(b.icon)), QLatin1String(b.text));
        const QString key = QLatin1String(b.key);
        action->setObjectName(key);
        QObject::connect(action, &QAction::triggered, parent, [run, key] { run(key); });
    }
    return bar;
}

} // namespace dovi
