#include "extras/DesktopTools.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace dovi::extras {

namespace {

// A desktop tool that hangs (a dead session bus) must not hang Dovi.
constexpr int kToolTimeoutMs = 15000;

int runAndWait(const QString& program, const QStringList& args, QByteArray* output) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return -1;
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(found, args);
    if (!process.waitForStarted(kToolTimeoutMs))
        return -1;
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return -1;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

Desktop desktopNamed(const QString& name) {
    const QString n = name.trimmed().toLower();
    if (n == u"gnome" || n == u"gnome-classic" || n == u"gnome-flashback" || n == u"unity" ||
        n == u"ubuntu" || n == u"budgie" || n == u"budgie-desktop" || n == u"pop")
        return Desktop::Gnome;
    if (n == u"x-cinnamon" || n == u"cinnamon")
        return Desktop::Cinnamon;
    if (n == u"mate")
        return Desktop::Mate;
    if (n == u"kde" || n == u"plasma" || n == u"plasmawayland" || n == u"plasmax11")
        return Desktop::Kde;
    if (n == u"xfce" || n == u"xfce4" || n == u"xubuntu")
        return Desktop::Xfce;
    return Desktop::Unknown;
}

} // namespace

DesktopTools DesktopTools::system() {
    DesktopTools tools;
    tools.run = runAndWait;
    tools.startDetached = [](const QString& program, const QStringList& args) {
        const QString found = QStandardPaths::findExecutable(program);
        return !found.isEmpty() && QProcess::startDetached(found, args);
    };
    tools.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return tools;
}

Desktop detectDesktop(const QString& currentDesktop, const QString& session) {
    for (const QString& name : currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (const Desktop d = desktopNamed(name); d != Desktop::Unknown)
            return d;
    return desktopNamed(session);
}

Desktop runningDesktop() {
    return detectDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                         qEnvironmentVariable("DESKTOP_SESSION"));
}

} // namespace dovi::extras
