#pragma once
#include <QtGlobal>

namespace dovi::platform {

// The machine's physical memory in bytes; 0 when the system does not say.
qint64 physicalMemoryBytes();

} // namespace dovi::platform
