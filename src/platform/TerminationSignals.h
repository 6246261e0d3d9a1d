#pragma once
#include <QObject>

namespace dovi::platform {

// Turns SIGTERM, SIGINT and SIGHUP (a session logging out, Ctrl+C in a
// terminal) into a Qt signal delivered on the event loop, so the program can
// shut down the normal way and keep its settings.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();
};

} // namespace dovi::platform
