#include "app/SharedServices.h"

#include "platform/FileAttributes.h"

namespace dovi {

void setStatus(Ui& ui, bool busy) {
    ui.setWaitCursor(busy);
    ui.setIdleLight(busy);
    ui.setProgressMode(busy ? 1 : 0);
    if (!busy)
        ui.setProgressCaption(kIdleCaption);
    ui.setProgressValue(0);
}

void showMessage(Ui& ui, const QString& text) {
    ui.messageBox(kMessageTitle, text, MessageButtons::Ok, MessageIcon::Warning);
}

bool fileExists(const QString& path) {
    return platform::pathExists(path);
}

void clearAttributes(const QString& path) {
    if (fileExists(path))
        platform::makeOwnerWritable(path);
}

} // namespace dovi
