#pragma once

namespace dovi {

// Picks an installed freedesktop icon theme when none is in force (a bare X
// server, or a desktop that leaves only "hicolor"), so the toolbar's icons
// show everywhere.
void useInstalledIconTheme();

} // namespace dovi
