#include "net/datagram_receiver.h"

#include "platform/clock.h"
#include "platform/codec.h"
#include "tools/trace_log.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvanel {

DatagramReceiver::DatagramReceiver(TraceLog& log, Clock& clock, QObject* parent)
    : QObject(parent), log_(log), clock_(clock),
      floodTimer_(clock.NewTimer([this] { TraceFlood(); })) {
    connect(&socket_, &QUdpSocket::readyRead, this, &DatagramReceiver::ReadPending);
    connect(&socket_, &QUdpSocket::errorOccurred, this, &DatagramReceiver::SocketError);
}

DatagramReceiver::~DatagramReceiver() = default;

bool DatagramReceiver::Open(quint16 port) {
    Close();
    error_.clear();
    log_.LogBegin(u"UPD Port ..."_s);
    opening_ = true;
    // Any: IPv4 and IPv6 on every address. No address sharing: a port that another program
    // holds must be reported, not shared with it.
    const bool bound = socket_.bind(QHostAddress::Any, port, QAbstractSocket::DontShareAddress);
    opening_ = false;
    if (!bound) {
        error_ = socket_.errorString();
        socket_.close();
        log_.LogEnd(QString::number(port) + u" Failed: "_s + error_);
        return false;
    }
    log_.LogEnd(QString::number(Port()) + u" Open"_s);
    return true;
}

void DatagramReceiver::Close() {
    socket_.close();
}

bool DatagramReceiver::IsOpen() const {
    return socket_.state() == QAbstractSocket::BoundState;
}

quint16 DatagramReceiver::Port() const {
    return IsOpen() ? socket_.localPort() : 0;
}

QString DatagramReceiver::PortInUseText(quint16 port) {
    return QString::number(port) + u"番ポートは使用中です"_s;
}

bool DatagramReceiver::IsLocalSender(const QHostAddress& sender) {
    // IPv4 senders reach the dual-stack socket as ::ffff:a.b.c.d; scopes name interfaces.
    const auto plain = [](QHostAddress a) {
        bool mapped = false;
        const quint32 v4 = a.toIPv4Address(&mapped);
        if (mapped) return QHostAddress(v4);
        a.setScopeId({});
        return a;
    };
    const QHostAddress address = plain(sender);
    if (address.isNull()) return false;
    if (address.isLoopback()) return true;
    const QList<QHostAddress> own = QNetworkInterface::allAddresses();
    return std::any_of(own.begin(), own.end(),
                       [&](const QHostAddress& a) { return plain(a) == address; });
}

void DatagramReceiver::ReadPending() {
    // A failed read leaves the datagram queued; a few more tries, then the next readyRead.
    int failures = 0;
    while (socket_.hasPendingDatagrams()) {
        const qint64 size = socket_.pendingDatagramSize();
        const QNetworkDatagram datagram = socket_.receiveDatagram(kMaxDatagramBytes + 1);
        if (!datagram.isValid()) {
            if (++failures >= 4) break;
            continue;
        }
        if (datagram.data().size() > kMaxDatagramBytes) {
            log_.LogLine(u"UDP datagram dropped: %1 bytes from %2"_s
                             .arg(qMax(size, qint64(datagram.data().size())))
                             .arg(datagram.senderAddress().toString()));
            continue;
        }
        ReceivedScript received;
        received.script = codec::FromCp932(datagram.data());
        received.sender = datagram.senderAddress();
        received.senderPort = quint16(datagram.senderPort());
        received.local = IsLocalSender(received.sender);
        Q_EMIT ScriptReceived(received);
        TraceReceived();
        if (!IsOpen()) break; // closed by whoever took the script
    }
}

void DatagramReceiver::TraceReceived() {
    constexpr quint32 kSecond = 1000;
    if (inSecond_ == 0 || clock_.TickCount() - secondStart_ >= kSecond) {
        TraceFlood();
        secondStart_ = clock_.TickCount();
        inSecond_ = 0;
    }
    if (++inSecond_ <= kTracedPerSecond) {
        log_.LogLine(u"UDP ReceiveData"_s);
        return;
    }
    if (untraced_++ == 0) floodTimer_->Start(int(kSecond - (clock_.TickCount() - secondStart_)));
}

void DatagramReceiver::TraceFlood() {
    floodTimer_->Stop();
    if (untraced_ == 0) return;
    log_.LogLine(u"UDP ReceiveData x %1 more in one second"_s.arg(untraced_));
    untraced_ = 0;
    inSecond_ = 0;
}

void DatagramReceiver::SocketError(QAbstractSocket::SocketError) {
    if (opening_) return; // Open reports its own failure
    // A datagram socket stays bound after an error (one ICMP message from a peer must not
    // deafen the character until the next start), so the error is only written down.
    log_.LogLine(u"UDP Error: "_s + socket_.errorString());
}

} // namespace orvanel
