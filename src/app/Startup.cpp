#include "app/Startup.h"

#include "app/ProgramFiles.h"
#include "app/SharedServices.h"

#include <QDir>

namespace dovi {

StartOutcome startProgram(Ui& ui, IniStore& store, platform::InstanceLock& lock,
                          const QString& programFolder, const platform::DisplayFacts& display,
                          const std::function<bool()>& handOver) {
    if (!lock.tryAcquire()) {
        if (handOver && handOver())
            return StartOutcome::HandedOver;
        showMessage(ui, kAlreadyRunningMessage);
        return StartOutcome::AlreadyRunning;
    }

    if (!store.contains(kStartedSection, kStartedKey)) {
        if (display.isNormalDpi())
            showMessage(ui, kLargeFontsMessage);
        if (display.widthPixels < 1024)
            showMessage(ui, kResolutionMessage);
        store.setValue(kStartedSection, kStartedKey, QStringLiteral("1"));
        store.flush();
    }

    QDir().mkdir(programFilePath(programFolder, kTempFolderName));

    const QString series = programFilePath(programFolder, kSeriesFileName);
    if (fileExists(series))
        clearAttributes(series);

    ensureLogo(programFolder);
    return StartOutcome::Run;
}

} // namespace dovi
