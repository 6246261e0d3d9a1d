#pragma once
#include <QObject>
#include <QString>

class QLocalServer;

namespace dovi::platform {

// How a second start hands a path to the copy already running: the running
// copy listens on a socket only its user may open; a second copy sends the
// path and waits for the running copy to confirm it.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    explicit InstanceChannel(QString name = defaultName(), QObject* parent = nullptr);
    ~InstanceChannel() override;

    // The running copy starts listening. A socket left by a run that died is
    // replaced: the caller holds the instance lock, so no live copy owns it.
    bool listen();

    // A second copy hands path over; true once the running copy took it.
    static bool send(const QString& name, const QString& path, int timeoutMs = 3000);

    // Beside the instance lock, in the user's runtime folder.
    static QString defaultName();

signals:
    void pathReceived(const QString& path);

private:
    void onConnection();

    QString name_;
    QLocalServer* server_;
};

} // namespace dovi::platform
