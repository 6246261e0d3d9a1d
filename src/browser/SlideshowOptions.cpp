#include "browser/SlideshowOptions.h"

#include "app/Workspace.h"

#include <algorithm>

namespace dovi::browser {

namespace {
void storeBoth(Workspace& ws) {
    ws.saveSetting(QStringLiteral("manual"));
    ws.saveSetting(QStringLiteral("interval"));
}
} // namespace

void chooseSlideMode(Workspace& ws, bool manual) {
    ws.settings.slideManual = manual ? 1 : 0;
    storeBoth(ws);
}

void setSlideInterval(Workspace& ws, int seconds) {
    ws.settings.slideInterval = std::clamp(seconds, kMinSlideInterval, kMaxSlideInterval);
    storeBoth(ws);
}

} // namespace dovi::browser
