#include "shell/CommandBars.h"

#include <QIcon>
#include <QMenu>

namespace dovi {
namespace {

QMenu* findOrAddMenu(QWidget* parent, QList<QPair<QString, QMenu*>>& made, const QString& title,
                     const std::function<QMenu*(const QString&)>& add) {
    for (const auto& m : made)
        if (m.first == title)
            return m.second;
    QMenu* menu = add(title);
    made.append({title, menu});
    Q_UNUSED(parent);
    return menu;
}

// Drops separators that would lead, trail or double up once unbound items are gone.
void tidySeparators(QMenu* menu) {
    QAction* previous = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() && (!previous || previous->isSeparator())) {
            menu->removeAction(a);
            continue;
        }
        previous = a;
    }
    if (previous && previous->isSeparator())
        menu->removeAction(previous);
    for (QAction* a : menu->actions())
        if (a->menu())
            tidySeparators(a->menu());
}

} // namespace

void buildMenus(QMenuBar* menuBar, const CommandDispatcher& dispatcher) {
    QList<QPair<QString, QMenu*>> menus;
    QList<QPair<QString, QMenu*>> submenus;
    for (const MenuCommand& row : menuCommands()) {
        const bool separator = row.caption == QLatin1String("-");
        if (!separator && !dispatcher.isBound(row.control))
            continue;
        const bool menuExists = std::any_of(menus.begin(), menus.end(),
                                            [&](const auto& m) { return m.first == row.menu; });
        if (separator && !menuExists)
            continue;
        QMenu* menu = findOrAddMenu(menuBar, menus, row.menu,
                                    [&](const QString& t) { return menuBar->addMenu(t); });
        if (!row.submenu.isEmpty()) {
            const QString id = row.menu + QLatin1Char('/') + row.submenu;
            bool exists = false;
            for (const auto& s : submenus)
                exists |= s.first == id;
            if (separator && !exists)
                continue;
            menu = findOrAddMenu(menu, submenus, id,
                                 [&](const QString&) { return menu->addMenu(row.submenu); });
        }
        if (separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(row.caption);
        action->setObjectName(row.control);
        if (!row.shortcut.isEmpty())
            action->setShortcut(QKeySequence(row.shortcut));
        const QString control = row.control;
        QObject::connect(action, &QAction::triggered,
                         [&dispatcher, control] { dispatcher.runControl(control); });
    }
    for (const auto& m : menus)
        tidySeparators(m.second);
}

void buildToolbar(QToolBar* toolBar, const CommandDispatcher& dispatcher) {
    for (const ToolbarCommand& row : toolbarCommands()) {
        if (!dispatcher.isBound(row.control))
            continue;
        QAction* action = toolBar->addAction(QIcon::fromTheme(row.icon), row.tooltip);
        action->setObjectName(QStringLiteral("tool_") + row.key);
        action->setToolTip(row.tooltip);
        const QString key = row.key;
        QObject::connect(action, &QAction::triggered,
                         [&dispatcher, key] { runToolbarKey(dispatcher, key); });
    }
}

} // namespace dovi
