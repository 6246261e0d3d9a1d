#pragma once
#include <QImage>

namespace dovi::imaging::ops {

// The exact number of distinct RGB colours, alpha ignored. One bit per
// possible colour (a 2 MiB bitset), set in a single pass over the scanlines
// and counted at the end. 0 for a null picture or one not RGB32/ARGB32.
qint64 uniqueColours(const QImage& src);

} // namespace dovi::imaging::ops
