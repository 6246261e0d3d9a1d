#include "app/HoldList.h"

namespace dovi {

void HoldList::append(const QString& fullPath) {
    holdlong_.append(fullPath);
    holdshort_.append(namePart(fullPath));
}

void HoldList::removeAt(int index) {
    if (index < 0 || index >= count())
        return;
    holdshort_.removeAt(index);
    holdlong_.removeAt(index);
    if (chosen_ >= count())
        chosen_ = count() - 1;
}

void HoldList::clear() {
    holdlong_.clear();
    holdshort_.clear();
    chosen_ = -1;
}

QString HoldList::namePart(const QString& fullPath) {
    return fullPath.mid(fullPath.lastIndexOf(QLatin1Char('/')) + 1);
}

QString HoldList::folderPart(const QString& fullPath) {
    return fullPath.left(fullPath.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace dovi
