#include "slideshow/Jumble.h"

#include "app/SharedServices.h"

#include <QRandomGenerator>
#include <algorithm>

namespace dovi::slideshow {

QStringList jumbleFiles(Ui& ui, QStringList& actionList, const RandomSource& random) {
    setStatus(ui, true);
    QStringList jumbled;
    jumbled.reserve(actionList.size());
    while (!actionList.isEmpty()) {
        const double r = random ? random() : QRandomGenerator::global()->generateDouble();
        const qsizetype n = actionList.size();
        // A generator that returns 1.0 would index past the end.
        const qsizetype i = std::clamp<qsizetype>(qsizetype(double(n) * r), 0, n - 1);
        jumbled << actionList.takeAt(i);
    }
    setStatus(ui, false);
    return jumbled;
}

} // namespace dovi::slideshow
