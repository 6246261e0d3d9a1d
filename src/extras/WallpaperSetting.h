#pragma once
#include "extras/DesktopTools.h"

#include <QString>

namespace dovi::extras {

// Makes the picture at path the desktop's wallpaper through the desktop's own
// setting: GNOME and Cinnamon their background's picture-uri, MATE its
// picture-filename (gsettings), KDE Plasma its wallpaper tool, XFCE every
// backdrop's last-image (xfconf-query). The file keeps one name, so when the
// setting already names it, it is emptied first for the desktop to read the
// new picture. False for an unknown desktop or when its tool refuses.
bool applyWallpaper(Desktop desktop, const QString& path, const DesktopTools& tools);

} // namespace dovi::extras
