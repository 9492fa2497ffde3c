// The main timer's cost: one tick with everything on, the real 64-a-second pace with its CPU
// time, and a script datagram from the socket to the handler.
#include "../tests/watch/timer_rig.h"
#include "net/datagram_receiver.h"
#include "platform/codec.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace orvanel;
using namespace orvanel::fakes;

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

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

// The real timer for two seconds: ticks delivered, the longest gap, and the CPU time the
// process spent meanwhile (the ticks' wake-ups and an empty handler).
static void BM_TickTimerTwoSeconds(benchmark::State& state) {
    for (auto _ : state) {
        TickTimer timer;
        QElapsedTimer clock;
        qint64 last = -1, longest = 0;
        int ticks = 0;
        QObject::connect(&timer, &TickTimer::Ticked, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0) longest = qMax(longest, now - last);
            last = now;
            ++ticks;
        });
        QEventLoop loop;
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        const double cpu = CpuSeconds();
        clock.start();
        timer.Start();
        loop.exec();
        state.counters["ticks_per_s"] = ticks / (double(clock.nsecsElapsed()) / 1e9);
        state.counters["longest_gap_ms"] = double(longest) / 1e6;
        state.counters["cpu_percent"] = (CpuSeconds() - cpu) / 2.0 * 100.0;
    }
}
BENCHMARK(BM_TickTimerTwoSeconds)->Iterations(1)->Unit(benchmark::kMillisecond);

// From writeDatagram on loopback to the handler holding the decoded script.
static void BM_DatagramToScript(benchmark::State& state) {
    VirtualClock clock;
    TraceLog log(clock);
    DatagramReceiver receiver(log);
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
