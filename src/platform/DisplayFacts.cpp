#include "platform/DisplayFacts.h"

#include <QGuiApplication>
#include <QScreen>

namespace dovi::platform {

DisplayFacts primaryDisplay() {
    DisplayFacts facts;
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen)
        return facts;
    // Device pixels: the screen's logical size times its scale factor.
    const double ratio = screen->devicePixelRatio();
    facts.widthPixels = qRound(screen->size().width() * ratio);
    facts.heightPixels = qRound(screen->size().height() * ratio);
    facts.logicalDpi = screen->logicalDotsPerInchY();
    return facts;
}

} // namespace dovi::platform
