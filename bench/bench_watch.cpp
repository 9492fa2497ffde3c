// The main timer's cost: one tick with everything on, and a script datagram from the socket
// to the handler. (The real binary's idle CPU is measured by scripts/measure.sh.)
#include "../tests/watch/timer_rig.h"
#include "net/datagram_receiver.h"
#include "platform/codec.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

using namespace orvanel;
using namespace orvanel::fakes;

// A tick with the edge watch, both balloons open and blinking: the most a quiet tick does.
static void BM_QuietTick(benchmark::State& state) {
    TimerRig rig;
    rig.ctx.flags.hide = true;
    rig.ctx.flags.blinkHold = false;
    rig.ctx.profile.MsgDispLimit = 1 << 30;
    rig.mainBalloon.visible = rig.fellowBalloon.visible = true;
    rig.timer.DrawFirstBlinkInterval();
    for (auto _ : state)
        rig.timer.Tick();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_QuietTick);

// From writeDatagram on loopback to the handler holding the decoded script.
static void BM_DatagramToScript(benchmark::State& state) {
    VirtualClock clock;
    TraceLog log(clock);
    DatagramReceiver receiver(log, clock);
    if (!receiver.Open(0)) {
        state.SkipWithError("no port");
        return;
    }
    QUdpSocket sender;
    const QByteArray script =
        codec::ToCp932(u"\\hこんにちは。\\w8\\n今日もいい天気ですね。\\uそうか？");
    QEventLoop loop;
    QObject::connect(&receiver, &DatagramReceiver::ScriptReceived, &loop, &QEventLoop::quit);
    for (auto _ : state) {
        sender.writeDatagram(script, QHostAddress::LocalHost, receiver.Port());
        loop.exec();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DatagramToScript)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
