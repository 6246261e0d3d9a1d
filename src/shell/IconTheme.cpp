#include "shell/IconTheme.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>

namespace dovi {

void useInstalledIconTheme() {
    // Some platforms (offscreen, a bare X server without a desktop) look for
    // icons only inside the program: add the system's icon folders.
    QStringList paths = QIcon::themeSearchPaths();
    QStringList system =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    system.prepend(QDir::homePath() + QStringLiteral("/.icons"));
    for (const QString& dir : system)
        if (!paths.contains(dir) && QFileInfo(dir).isDir())
            paths << dir;
    QIcon::setThemeSearchPaths(paths);

    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor") &&
        QIcon::hasThemeIcon(QStringLiteral("document-open")))
        return;
    static const char* const candidates[] = {"Adwaita", "breeze", "oxygen", "Tango", "gnome"};
    for (const char* name : candidates)
        for (const QString& base : paths)
            if (QFileInfo::exists(base + QLatin1Char('/') + QLatin1String(name) +
                                  QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(QLatin1String(name));
                return;
            }
}

} // namespace dovi
