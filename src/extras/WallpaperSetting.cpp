#include "extras/WallpaperSetting.h"

#include <QUrl>

namespace dovi::extras {

namespace {

const QString kGsettings = QStringLiteral("gsettings");
const QString kXfconf = QStringLiteral("xfconf-query");
const QString kXfceChannel = QStringLiteral("xfce4-desktop");

// gsettings prints strings quoted: 'file:///home/me/x.bmp'.
QString gsettingsString(const QByteArray& output) {
    QString value = QString::fromUtf8(output).trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) &&
        value.endsWith(QLatin1Char('\'')))
        value = value.mid(1, value.size() - 2);
    return value;
}

bool setGsetting(const DesktopTools& tools, const QString& schema, const QString& key,
                 const QString& value) {
    QByteArray current;
    if (tools.run(kGsettings, {QStringLiteral("get"), schema, key}, &current) == 0 &&
        gsettingsString(current) == value)
        tools.run(kGsettings, {QStringLiteral("set"), schema, key, QString()}, nullptr);
    return tools.run(kGsettings, {QStringLiteral("set"), schema, key, value}, nullptr) == 0;
}

bool setXfceBackdrop(const DesktopTools& tools, const QString& path) {
    QByteArray listed;
    if (tools.run(kXfconf, {QStringLiteral("-c"), kXfceChannel, QStringLiteral("-l")}, &listed) !=
        0)
        return false;
    QStringList properties;
    for (const QByteArray& line : listed.split('\n')) {
        const QString property = QString::fromUtf8(line).trimmed();
        if (property.startsWith(QLatin1String("/backdrop/")) &&
            property.endsWith(QLatin1String("/last-image")))
            properties << property;
    }
    if (properties.isEmpty())
        return tools.run(kXfconf,
                         {QStringLiteral("-c"), kXfceChannel, QStringLiteral("-p"),
                          QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image"),
                          QStringLiteral("-n"), QStringLiteral("-t"), QStringLiteral("string"),
                          QStringLiteral("-s"), path},
                         nullptr) == 0;
    bool allSet = true;
    for (const QString& property : properties) {
        const QStringList at = {QStringLiteral("-c"), kXfceChannel, QStringLiteral("-p"), property};
        QByteArray current;
        if (tools.run(kXfconf, at, &current) == 0 && QString::fromUtf8(current).trimmed() == path)
            tools.run(kXfconf, at + QStringList{QStringLiteral("-s"), QString()}, nullptr);
        allSet = tools.run(kXfconf, at + QStringList{QStringLiteral("-s"), path}, nullptr) == 0 &&
                 allSet;
    }
    return allSet;
}

} // namespace

bool applyWallpaper(Desktop desktop, const QString& path, const DesktopTools& tools) {
    const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    switch (desktop) {
    case Desktop::Gnome: {
        const QString schema = QStringLiteral("org.gnome.desktop.background");
        if (!setGsetting(tools, schema, QStringLiteral("picture-uri"), uri))
            return false;
        // The dark style's picture (newer GNOME); older ones lack the key.
        setGsetting(tools, schema, QStringLiteral("picture-uri-dark"), uri);
        return true;
    }
    case Desktop::Cinnamon:
        return setGsetting(tools, QStringLiteral("org.cinnamon.desktop.background"),
                           QStringLiteral("picture-uri"), uri);
    case Desktop::Mate:
        return setGsetting(tools, QStringLiteral("org.mate.background"),
                           QStringLiteral("picture-filename"), path);
    case Desktop::Kde:
        return tools.run(QStringLiteral("plasma-apply-wallpaperimage"), {path}, nullptr) == 0;
    case Desktop::Xfce:
        return setXfceBackdrop(tools, path);
    case Desktop::Unknown:
        break;
    }
    return false;
}

} // namespace dovi::extras
