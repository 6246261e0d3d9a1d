#pragma once

namespace dovi::platform {

// What start-up and the settings defaults need to know of the screen.
struct DisplayFacts {
    int widthPixels = 1024;
    int heightPixels = 768;
    double logicalDpi = 96.0;

    // The normal font setting: 96 dots per inch, 15 twips per pixel.
    bool isNormalDpi() const { return logicalDpi > 95.5 && logicalDpi < 96.5; }
};

// Reads the primary screen; falls back to 1024 x 768 at 96 dpi without one.
DisplayFacts primaryDisplay();

} // namespace dovi::platform
