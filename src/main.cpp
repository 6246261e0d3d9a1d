#include "app/IniStore.h"
#include "app/ProgramFiles.h"
#include "app/Startup.h"
#include "app/Workspace.h"
#include "app/windows/DialogUi.h"
#include "app/windows/SplashWindow.h"
#include "platform/DisplayFacts.h"
#include "platform/InstanceLock.h"
#include "platform/ProgramFolder.h"
#include "platform/TerminationSignals.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dovi"));
    QApplication::setDesktopFileName(QStringLiteral("dovi"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/dovi.png")));

    const QString programFolder =
        dovi::platform::resolveProgramFolder(QApplication::applicationDirPath());
    const dovi::platform::DisplayFacts display = dovi::platform::primaryDisplay();
    dovi::IniStore store(dovi::IniStore::defaultPath());
    dovi::platform::InstanceLock lock;
    {
        dovi::DialogUi startUi;
        if (dovi::startProgram(startUi, store, lock, programFolder, display) ==
            dovi::StartOutcome::AlreadyRunning)
            return 0;
    }

    dovi::Workspace workspace(programFolder, store,
                              {display.widthPixels, display.heightPixels, QDir::homePath()});
    std::unique_ptr<dovi::MainWindow> mainWindow;
    auto* splash = new dovi::SplashWindow(
        dovi::programFilePath(programFolder, dovi::kLogoFileName), display.isNormalDpi(), [&] {
            mainWindow = std::make_unique<dovi::MainWindow>(workspace);
            mainWindow->show();
        });
    splash->show();

    // A logout or kill closes the window the normal way, so settings are kept
    // and "Temp" is emptied.
    dovi::platform::TerminationSignals termination;
    QObject::connect(&termination, &dovi::platform::TerminationSignals::terminationRequested, [&] {
        if (mainWindow)
            mainWindow->quitProgram();
        else
            QApplication::quit();
    });
    return app.exec();
}
