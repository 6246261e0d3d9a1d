#include "app/RunningHistory.h"

namespace dovi {

void RunningHistory::add(const QString& line, int limit) {
    lines_.append(line);
    if (lines_.size() > limit)
        lines_.removeFirst();
}

QString RunningHistory::caption() const {
    return QStringLiteral("Dovi Running History - %1 item(s)").arg(lines_.size());
}

} // namespace dovi
