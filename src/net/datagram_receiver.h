#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QUdpSocket>

#include <memory>

namespace orvanel {

class Clock;
class ClockTimer;
class TraceLog;

// One script received as a datagram.
struct ReceivedScript {
    QString script;      // the whole payload, decoded from CP932
    QHostAddress sender; // as the socket reports it (IPv4 senders may come as ::ffff:a.b.c.d)
    quint16 senderPort = 0;
    bool local = false; // sent from this machine; only such scripts may open web pages
};

// The script port: every datagram that arrives is one script, handed on at once with
// ScriptReceived. There is no reply and no queue; the receiver of the signal decides.
//
// Each datagram is traced as "UDP ReceiveData", up to kTracedPerSecond in a second; beyond
// that a flood is traced as one count per second, so that it cannot fill the trace.
class DatagramReceiver : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 9634;
    // Scripts are short texts; a larger datagram is dropped whole (a cut script could end in
    // the middle of a tag) and the drop is logged.
    static constexpr qint64 kMaxDatagramBytes = 16 * 1024;
    static constexpr int kTracedPerSecond = 20;

    DatagramReceiver(TraceLog& log, Clock& clock, QObject* parent = nullptr);
    ~DatagramReceiver() override;

    // Binds `port` on every local address, IPv4 and IPv6, with the trace lines "UPD Port ..."
    // and "<port> Open". Port 0 takes a free port (see Port()). False when the port cannot be
    // had, typically because another program holds it; ErrorText() then says why.
    bool Open(quint16 port = kDefaultPort);
    void Close();
    bool IsOpen() const;
    // The bound port, 0 while closed.
    quint16 Port() const;
    QString ErrorText() const { return error_; }

    // What the program says when the port cannot be had: "9634番ポートは使用中です".
    static QString PortInUseText(quint16 port);

    // Whether `sender` is this machine: a loopback address or one of its own. The kernel
    // drops datagrams from outside that claim such a source address.
    static bool IsLocalSender(const QHostAddress& sender);

Q_SIGNALS:
    void ScriptReceived(const orvanel::ReceivedScript& received);

private:
    void ReadPending();
    void SocketError(QAbstractSocket::SocketError error);
    void TraceReceived();
    void TraceFlood();

    TraceLog& log_;
    Clock& clock_;
    std::unique_ptr<ClockTimer> floodTimer_; // ends the second of a flood
    quint32 secondStart_ = 0;
    int inSecond_ = 0;    // datagrams in the second that began at secondStart_
    qint64 untraced_ = 0; // of them, those not traced line by line
    QUdpSocket socket_;
    QString error_;
    bool opening_ = false;
};

} // namespace orvanel
