// The registration window on a category of 10,000 words: from opening (the first category
// selected) until every word is listed, on a real CP932 file, with a cold INI cache as after
// a start and a warm one as on the second look. Run with QT_QPA_PLATFORM=offscreen.
#include "app/word_registration_window.h"
#include "core/app_context.h"
#include "engine/engine.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "platform/text_file.h"
#include "talk/dictionary.h"
#include "tools/trace_log.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

using namespace orvanel;

namespace {

constexpr int kWords = 10000;

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_shell";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

void BM_RegistrationLargeCategory(benchmark::State& state) {
    App();
    const bool warm = state.range(0) != 0;
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(u"TalkEngine"_s));
    const QString category = CategoryName(0);
    QString text = u"["_s + category + u"]\nPN=%1\n"_s.arg(kWords);
    for (int i = 1; i <= kWords; ++i)
        text += u"%1=単語その%1\n"_s.arg(i);
    if (!WriteCp932File(dir.filePath(u"TalkEngine/"_s + category + u".ini"_s), text))
        qFatal("bench_shell: cannot write the category");
    SystemClock clock;
    SystemRandom random(3);
    TraceLog log(clock);
    LoggingSystemActions actions(nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        IniStore ini;
        AppContext ctx(clock, random, ini, dir.path(), log, actions);
        Engine engine(ctx);
        if (warm) (void)engine.Words().WordCount(category);
        state.ResumeTiming();
        auto* window = new WordRegistrationWindow(ctx, engine.Words(), engine.Player(), nullptr);
        window->show();
        QEventLoop loop;
        QObject::connect(window, &WordRegistrationWindow::Loaded, &loop, &QEventLoop::quit);
        if (window->Loading()) loop.exec();
        if (window->Words()->count() != kWords) state.SkipWithError("not all words listed");
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RegistrationLargeCategory)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace

BENCHMARK_MAIN();
