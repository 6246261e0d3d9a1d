#include "app/IniStore.h"
#include "app/OpenRequest.h"
#include "app/ProgramFiles.h"
#include "app/Startup.h"
#include "app/Workspace.h"
#include "app/windows/DialogUi.h"
#include "app/windows/SplashWindow.h"
#include "platform/DisplayFacts.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceLock.h"
#include "platform/ProgramFolder.h"
#include "platform/TerminationSignals.h"
#include "shell/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <memory>

namespace {

// "dovi PATH": the first argument that is not an option, made absolute here,
// where it was typed.
QString requestedPath() {
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i)
        if (!args[i].startsWith(QLatin1Char('-')))
            return dovi::absoluteArgument(args[i], QDir::currentPath());
    return {};
}

} // namespace

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
    const QString path = requestedPath();
    {
        // With a path, a second copy hands it to the running one instead of
        // saying that one runs.
        std::function<bool()> handOver;
        if (!path.isEmpty())
            handOver = [&path] {
                return dovi::platform::InstanceChannel::send(
                    dovi::platform::InstanceChannel::defaultName(), path);
            };
        dovi::DialogUi startUi;
        if (dovi::startProgram(startUi, store, lock, programFolder, display, handOver) !=
            dovi::StartOutcome::Run)
            return 0;
    }

    dovi::Workspace workspace(programFolder, store,
                              {display.widthPixels, display.heightPixels, QDir::homePath()});
    std::unique_ptr<dovi::MainWindow> mainWindow;
    // A path that arrives before the main window shows is opened once it does.
    QString pendingPath = path;
    dovi::platform::InstanceChannel channel;
    channel.listen();
    QObject::connect(&channel, &dovi::platform::InstanceChannel::pathReceived,
                     [&](const QString& received) {
                         if (mainWindow)
                             mainWindow->openPath(received);
                         else
                             pendingPath = received;
                     });
    auto* splash = new dovi::SplashWindow(
        dovi::programFilePath(programFolder, dovi::kLogoFileName), display.isNormalDpi(), [&] {
            mainWindow = std::make_unique<dovi::MainWindow>(workspace);
            mainWindow->show();
            if (!pendingPath.isEmpty())
                mainWindow->openPath(pendingPath);
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
