#pragma once

namespace dovi {
class Workspace;
}

// The slideshow options of the main window's hold frame. Both store "manual"
// and then "interval" at once, before any other save point.
namespace dovi::browser {

inline constexpr int kMinSlideInterval = 1;
inline constexpr int kMaxSlideInterval = 30;

// "Manual" (true) or "Timer" (false) chosen.
void chooseSlideMode(Workspace& ws, bool manual);

// The "Interval in Seconds" slider moved (kept within 1..30).
void setSlideInterval(Workspace& ws, int seconds);

} // namespace dovi::browser
