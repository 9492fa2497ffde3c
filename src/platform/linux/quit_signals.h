#pragma once

#include <QObject>

class QSocketNotifier;

namespace orvanel {

// SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C) turned into a Qt signal, so the
// program closes through its shutdown sequence and keeps the user's switches. The handler
// only writes a byte to a pipe; everything else runs in the event loop.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

Q_SIGNALS:
    void Received(int signalNumber);

private:
    static void Handler(int signalNumber);
    void Read();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace orvanel
