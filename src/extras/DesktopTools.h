#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

// How Dovi hands work to the desktop: programs it runs and waits for, programs
// it starts and leaves running, and addresses it opens in their default
// program. Tests give stand-ins, so they never change the real desktop.
namespace dovi::extras {

struct DesktopTools {
    // Runs program (looked up on PATH) with args and waits for it; its exit
    // code, or -1 when it could not be started or did not finish in time.
    // output, when given, receives what it wrote.
    std::function<int(const QString& program, const QStringList& args, QByteArray* output)> run;
    // Starts program and leaves it running; false when it could not start.
    std::function<bool(const QString& program, const QStringList& args)> startDetached;
    // Opens a file, folder or web page in the user's default program.
    std::function<bool(const QUrl& url)> openUrl;

    // The real ones: QProcess and QDesktopServices.
    static DesktopTools system();
};

// The desktops whose own settings Dovi knows how to change.
enum class Desktop { Unknown, Gnome, Cinnamon, Mate, Kde, Xfce };

// The running desktop from XDG_CURRENT_DESKTOP (a ":"-separated list, the
// first known name wins), else from DESKTOP_SESSION.
Desktop detectDesktop(const QString& currentDesktop, const QString& session);
Desktop runningDesktop();

} // namespace dovi::extras
