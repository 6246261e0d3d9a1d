#pragma once
#include <QStringList>
#include <functional>

namespace dovi {
class Ui;
}

namespace dovi::slideshow {

// A source of numbers uniform in [0, 1); empty means the program's own
// generator (seeded by the system, so every show differs).
using RandomSource = std::function<double()>;

// The random order of a show: draws entries from actionList without
// replacement, each draw uniform over the entries left, and returns them in
// the order drawn. actionList is empty afterwards. Busy while it runs.
QStringList jumbleFiles(Ui& ui, QStringList& actionList, const RandomSource& random = {});

} // namespace dovi::slideshow
