#pragma once
#include <QString>

namespace dovi::platform {

// The folder that holds Dovi's small data files ("dovilogo.jpg", "series.dat",
// "qlinks.dat", "Temp"): the executable's own folder when it is writable (a
// build tree, a portable copy), otherwise the per-user data folder, created on
// demand (an installed copy in /usr/bin).
QString resolveProgramFolder(const QString& executableFolder);

} // namespace dovi::platform
