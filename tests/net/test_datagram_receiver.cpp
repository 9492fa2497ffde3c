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
    Port() {
        QObject::connect(&receiver, &DatagramReceiver::ScriptReceived,
                         [this](const ReceivedScript& r) { received.append(r); });
        QVERIFY(receiver.Open(0));
    }
    void Send(const QByteArray& bytes) {
        QUdpSocket sender;
        QCOMPARE(sender.writeDatagram(bytes, QHostAddress::LocalHost, receiver.Port()),
                 qint64(bytes.size()));
    }
    // Waits for socket events until `n` scripts have come.
    bool WaitFor(qsizetype n) {
        QSignalSpy spy(&receiver, &DatagramReceiver::ScriptReceived);
        while (received.size() < n)
            if (!spy.wait(5000)) return false;
        return true;
    }

    VirtualClock clock;
    TraceLog log{clock};
    DatagramReceiver receiver{log, clock};
    QList<ReceivedScript> received;
};

} // namespace

class TestDatagramReceiver : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // An oversized datagram goes first: it is dropped and the next one still heard.
    void datagramsAreDecodedFromCp932_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("script");
        QTest::newRow("script") << codec::ToCp932(u"\\hこんにちは\\uよう。")
                                << u"\\hこんにちは\\uよう。"_s;
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("undecodable") << QByteArray("\\hA\xFF\x82") << u"\\hA\uFFFD\uFFFD"_s;
        QTest::newRow("largest") << QByteArray(DatagramReceiver::kMaxDatagramBytes, 'x')
                                 << QString(DatagramReceiver::kMaxDatagramBytes, u'x');
    }
    void datagramsAreDecodedFromCp932() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, script);
        Port port;
        port.Send(QByteArray(DatagramReceiver::kMaxDatagramBytes + 1, 'a'));
        port.Send(bytes);
        QVERIFY(port.WaitFor(1));
        QCOMPARE(port.received.size(), 1);
        QCOMPARE(port.received.first().script, script);
        QVERIFY(port.received.first().local);
        QVERIFY(port.log.Text().contains(u"UDP ReceiveData"_s));
        QVERIFY(port.log.Text().contains(u"UDP datagram dropped"_s));
    }

    // Ordinary traffic is traced line by line; a flood as one count for each second.
    void aFloodIsTracedAsCounts() {
        Port port;
        const auto lines = [&] { return port.log.Text().count(u"UDP ReceiveData ["_s); };
        for (int i = 0; i < 100; ++i)
            port.Send("x");
        QVERIFY(port.WaitFor(100));
        QCOMPARE(lines(), DatagramReceiver::kTracedPerSecond);
        port.clock.Advance(1000);
        QVERIFY(port.log.Text().contains(u"UDP ReceiveData x 80 more in one second"_s));
        port.Send("y");
        QVERIFY(port.WaitFor(101));
        QCOMPARE(lines(), DatagramReceiver::kTracedPerSecond + 1);
    }

    void aTakenPortIsRefused() {
        Port first;
        VirtualClock clock;
        TraceLog log(clock);
        DatagramReceiver second(log, clock);
        QVERIFY(!second.Open(first.receiver.Port()));
        QVERIFY(first.receiver.IsOpen());
        QVERIFY(!second.ErrorText().isEmpty());
    }

    void localSenders() {
        for (const auto& a : {u"127.8.9.10"_s, u"::1"_s, u"::ffff:127.0.0.1"_s})
            QVERIFY2(DatagramReceiver::IsLocalSender(QHostAddress(a)), qPrintable(a));
        for (const auto& a :
             {u"198.51.100.7"_s, u"::ffff:198.51.100.7"_s, u"fe80::1234%1"_s, u""_s})
            QVERIFY2(!DatagramReceiver::IsLocalSender(QHostAddress(a)), qPrintable(a));
        for (const QHostAddress& own : QNetworkInterface::allAddresses())
            QVERIFY2(DatagramReceiver::IsLocalSender(own), qPrintable(own.toString()));
    }

    void onlyLocalScriptsOpenPages() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\hA\\j[https://example.org/]B"_s, ScriptOrigin::Remote);
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"AB"_s); // the rest of the script is still played
        QVERIFY(rig.actionLog.isEmpty());
        rig.Play(u"\\hA\\j[https://example.org/]B"_s);
        QCOMPARE(rig.actionLog, QStringList{u"SystemAction: OpenUrl https://example.org/"_s});
    }
};

QTEST_GUILESS_MAIN(TestDatagramReceiver)
#include "test_datagram_receiver.moc"
