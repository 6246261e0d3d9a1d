#pragma once

namespace dovi::platform {

struct KeyLocks {
    bool capsLock = false;
    bool numLock = false;
};

// Reads the keyboard's Caps Lock and Num Lock lights from /sys/class/leds.
// Without a readable keyboard light (a virtual display) both read off.
KeyLocks readKeyLocks();

} // namespace dovi::platform
