#include "platform/KeyLocks.h"

#include <QDir>
#include <QFile>

namespace dovi::platform {
namespace {

bool anyLedOn(const QString& suffix) {
    const QDir leds(QStringLiteral("/sys/class/leds"));
    for (const QString& name : leds.entryList({QStringLiteral("*::") + suffix}, QDir::AllEntries)) {
        QFile brightness(leds.filePath(name) + QStringLiteral("/brightness"));
        if (brightness.open(QIODevice::ReadOnly) && brightness.readAll().trimmed() != "0")
            return true;
    }
    return false;
}

} // namespace

KeyLocks readKeyLocks() {
    return {anyLedOn(QStringLiteral("capslock")), anyLedOn(QStringLiteral("numlock"))};
}

} // namespace dovi::platform
