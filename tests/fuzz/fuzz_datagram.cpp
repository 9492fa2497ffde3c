// The datagram path: bytes sent to the script port, decoded from CP932 by the receiver and
// played as a script from another machine.
#include "fuzz_rig.h"
#include "net/datagram_receiver.h"

#include <QUdpSocket>

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnsureApplication();
    // An empty datagram or one over the limit never reaches the player.
    if (size == 0 || size > size_t(DatagramReceiver::kMaxDatagramBytes)) return 0;
    static VirtualClock clock;
    static TraceLog log(clock);
    static DatagramReceiver receiver(log, clock);
    static QUdpSocket sender;
    static const bool open = receiver.Open(0);
    if (!open) std::abort();
    static std::optional<ReceivedScript> received;
    static const auto connection =
        QObject::connect(&receiver, &DatagramReceiver::ScriptReceived,
                         [](const ReceivedScript& script) { received = script; });
    (void)connection;
    received.reset();
    if (sender.writeDatagram(reinterpret_cast<const char*>(data), qint64(size),
                             QHostAddress::LocalHost, receiver.Port()) != qint64(size))
        return 0;
    for (int i = 0; i < 1000 && !received; ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    if (!received) std::abort();
    fuzz::PlayRig::Shared().Play(received->script, ScriptOrigin::Remote);
    return 0;
}
