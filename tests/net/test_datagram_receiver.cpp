#include "../script/script_rig.h"
#include "net/datagram_receiver.h"
#include "platform/codec.h"

#include <QNetworkInterface>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

// A receiver on a free port of this machine, with what it handed on.
struct Port {
    explicit Port(TraceLog& log) : receiver(log) {
        QObject::connect(&receiver, &DatagramReceiver::ScriptReceived,
                         [this](const ReceivedScript& r) { received.append(r); });
    }
    bool Open() { return receiver.Open(0); }
    void Send(const QByteArray& bytes, const QHostAddress& to = QHostAddress::LocalHost) {
        QUdpSocket sender;
        QCOMPARE(sender.writeDatagram(bytes, to, receiver.Port()), qint64(bytes.size()));
    }
    // Waits for socket events until `n` scripts have come.
    bool WaitFor(qsizetype n) {
        QSignalSpy spy(&receiver, &DatagramReceiver::ScriptReceived);
        while (received.size() < n)
            if (!spy.wait(5000)) return false;
        return true;
    }

    DatagramReceiver receiver;
    QList<ReceivedScript> received;
};

// How the shell hands a datagram to the player.
void Play(ScriptRig& rig, const ReceivedScript& r) {
    rig.character.ShowSurface(1, false);
    rig.player.PlayScript(r.script, r.local ? ScriptOrigin::Local : ScriptOrigin::Remote);
}

} // namespace

class TestDatagramReceiver : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithItsTraceLines() {
        VirtualClock clock;
        TraceLog log(clock);
        Port port(log);
        QVERIFY(port.Open());
        QVERIFY(port.receiver.Port() != 0);
        QVERIFY(log.Text().startsWith(u"  UPD Port ..."_s + QString::number(port.receiver.Port()) +
                                      u" Open [ "_s));
        port.receiver.Close();
        QVERIFY(!port.receiver.IsOpen());
        QCOMPARE(port.receiver.Port(), quint16(0));
    }

    void datagramsAreDecodedFromCp932_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("script");
        QTest::newRow("script") << codec::ToCp932(u"\\hこんにちは\\w8\\uよう。")
                                << u"\\hこんにちは\\w8\\uよう。"_s;
        QTest::newRow("0x8160 is the full-width tilde") << QByteArray("\x81\x60") << u"\uFF5E"_s;
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("lone lead byte") << QByteArray("\\hA\x82") << u"\\hA\uFFFD"_s;
        QTest::newRow("bytes no code page has") << QByteArray("\xFF\xFD") << u"\uFFFD\uFFFD"_s;
        QTest::newRow("NUL inside") << QByteArray("a\0b", 3) << u"a\0b"_s;
        QTest::newRow("largest") << QByteArray(DatagramReceiver::kMaxDatagramBytes, 'x')
                                 << QString(DatagramReceiver::kMaxDatagramBytes, u'x');
    }
    void datagramsAreDecodedFromCp932() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, script);
        VirtualClock clock;
        TraceLog log(clock);
        Port port(log);
        QVERIFY(port.Open());
        port.Send(bytes);
        QVERIFY(port.WaitFor(1));
        const ReceivedScript& r = port.received.first();
        QCOMPARE(r.script, script);
        QVERIFY(r.local);
        QVERIFY(r.sender.isLoopback());
        QVERIFY(r.senderPort != 0);
        QVERIFY(log.Text().contains(u"UDP ReceiveData"_s));
    }

    void anOversizedDatagramIsDroppedAndTheNextOneHeard() {
        VirtualClock clock;
        TraceLog log(clock);
        Port port(log);
        QVERIFY(port.Open());
        port.Send(QByteArray(DatagramReceiver::kMaxDatagramBytes + 1, 'a'));
        port.Send("\\hB");
        QVERIFY(port.WaitFor(1));
        QCOMPARE(port.received.size(), 1);
        QCOMPARE(port.received.first().script, u"\\hB"_s);
        QVERIFY(log.Text().contains(
            u"UDP datagram dropped: %1 bytes"_s.arg(DatagramReceiver::kMaxDatagramBytes + 1)));
    }

    void eachDatagramReplacesTheTalkAndTheLastWins() {
        VirtualClock clock;
        TraceLog log(clock);
        Port port(log);
        QVERIFY(port.Open());
        ScriptRig rig;
        QObject::connect(&port.receiver, &DatagramReceiver::ScriptReceived,
                         [&](const ReceivedScript& r) { Play(rig, r); });
        port.Send(codec::ToCp932(u"\\hひとつめ"));
        port.Send(codec::ToCp932(u"\\uふたつめ"));
        QVERIFY(port.WaitFor(2));
        rig.RunToEnd();
        QCOMPARE(rig.fellowBalloon.message, u"ふたつめ"_s);
        QCOMPARE(rig.mainBalloon.message, QString());
        QCOMPARE(rig.character.surfaces, (QList<int>{1, 1}));

        // An empty datagram stops the talk and shows the normal face.
        rig.player.PlayScript(u"\\h長い話\\w9\\w9"_s);
        rig.Tick();
        port.Send({});
        QVERIFY(port.WaitFor(3));
        QVERIFY(rig.player.Buffer().isEmpty());
        rig.Tick();
        QVERIFY(!rig.player.IsRunning());
        QCOMPARE(rig.character.surfaces.last(), 1);
    }

    void aTakenPortIsReported() {
        VirtualClock clock;
        TraceLog log(clock);
        QUdpSocket holder;
        QVERIFY(holder.bind(QHostAddress::Any, 0));
        DatagramReceiver receiver(log);
        QVERIFY(!receiver.Open(holder.localPort()));
        QVERIFY(!receiver.IsOpen());
        QVERIFY(!receiver.ErrorText().isEmpty());
        QVERIFY(!log.Text().contains(u" Open"_s));

        // Nor may two receivers share one port.
        DatagramReceiver first(log), second(log);
        QVERIFY(first.Open(0));
        QVERIFY(!second.Open(first.Port()));
        QVERIFY(first.IsOpen());
        QCOMPARE(DatagramReceiver::PortInUseText(9634), u"9634番ポートは使用中です"_s);
    }

    void localSenders_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("local");
        QTest::newRow("127.0.0.1") << u"127.0.0.1"_s << true;
        QTest::newRow("all of 127/8") << u"127.8.9.10"_s << true;
        QTest::newRow("::1") << u"::1"_s << true;
        QTest::newRow("mapped 127.0.0.1") << u"::ffff:127.0.0.1"_s << true;
        QTest::newRow("documentation v4") << u"198.51.100.7"_s << false;
        QTest::newRow("mapped documentation") << u"::ffff:198.51.100.7"_s << false;
        QTest::newRow("documentation v6") << u"2001:db8::1"_s << false;
        QTest::newRow("foreign link-local") << u"fe80::1234%1"_s << false;
        QTest::newRow("none") << QString() << false;
    }
    void localSenders() {
        QFETCH(QString, address);
        QFETCH(bool, local);
        QCOMPARE(DatagramReceiver::IsLocalSender(QHostAddress(address)), local);
    }

    // Sent to and from one of this machine's own addresses, not over the loopback.
    void ownAddressesAreLocal() {
        for (const QHostAddress& own : QNetworkInterface::allAddresses()) {
            QVERIFY2(DatagramReceiver::IsLocalSender(own), qPrintable(own.toString()));
            if (own.isLoopback() || own.protocol() != QAbstractSocket::IPv4Protocol) continue;
            VirtualClock clock;
            TraceLog log(clock);
            Port port(log);
            QVERIFY(port.Open());
            QUdpSocket sender;
            QVERIFY(sender.bind(own, 0));
            sender.writeDatagram("x", own, port.receiver.Port());
            QVERIFY(port.WaitFor(1));
            QVERIFY(port.received.first().local);
            QVERIFY(!port.received.first().sender.isLoopback());
        }
    }

    void onlyLocalScriptsOpenPages() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\hA\\j[https://example.org/]B"_s, ScriptOrigin::Remote);
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"AB"_s); // the rest of the script is still played
        QVERIFY(rig.actionLog.isEmpty());
        QVERIFY(
            rig.log.Text().contains(u"OpenTarget refused (remote script): https://example.org/"_s));
        rig.Play(u"\\hA\\j[https://example.org/]B"_s);
        QCOMPARE(rig.actionLog, QStringList{u"SystemAction: OpenUrl https://example.org/"_s});
        QCOMPARE(rig.player.Origin(), ScriptOrigin::Local);
    }
};

QTEST_GUILESS_MAIN(TestDatagramReceiver)
#include "test_datagram_receiver.moc"
