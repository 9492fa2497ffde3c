// A dropped dictionary folder merged into the program's dictionary: 61 categories of 2,000
// words each into 61 categories of 2,000 words each, on real CP932 files. Half of the dropped
// words are already known in other letter case, so every category ends with 3,000 words.
#include "core/app_context.h"
#include "engine/engine.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "platform/text_file.h"
#include "talk/dictionary.h"
#include "talk/talk_engine.h"
#include "tools/trace_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

using namespace orvanel;

namespace {

constexpr int kWords = 2000;

void WriteCategory(const QString& path, const QString& name, int first, const char* stem) {
    QString text = u"["_s + name + u"]\nPN=%1\n"_s.arg(kWords);
    for (int i = 1; i <= kWords; ++i)
        text += u"%1=%2%3の%4\n"_s.arg(i).arg(QLatin1StringView(stem)).arg(first + i).arg(name);
    if (!WriteCp932File(path, text)) qFatal("bench_talk: cannot write %s", qPrintable(path));
}

void BM_UpdateFromFolder(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench_talk";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv); // so that the pass really lets events run
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(u"TalkEngine"_s));
        QDir().mkpath(dir.filePath(u"drop/TalkEngine"_s));
        for (int c = 0; c < kCategoryCount; ++c) {
            const QString category = CategoryName(c);
            WriteCategory(dir.filePath(u"TalkEngine/"_s + category + u".ini"_s), category, 0,
                          "word");
            WriteCategory(dir.filePath(u"drop/TalkEngine/"_s + category + u".ini"_s), category,
                          kWords / 2, "WORD");
        }
        SystemClock clock;
        SystemRandom random(3);
        IniStore ini; // nothing parsed yet, as after a start
        TraceLog log(clock);
        LoggingSystemActions actions(nullptr);
        AppContext ctx(clock, random, ini, dir.path(), log, actions);
        Engine engine(ctx);
        Dictionary& dictionary = engine.Words();
        TalkEngine& talk = engine.Talk();
        state.ResumeTiming();

        talk.Bulk().UpdateFromFolder(dir.filePath(u"drop/TalkEngine"_s));

        state.PauseTiming();
        if (talk.Bulk().AddedCount() != kCategoryCount * kWords / 2 ||
            dictionary.WordCount(CategoryName(60)) != kWords * 3 / 2)
            state.SkipWithError("the merge went wrong");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCategoryCount * kWords * 2);
}
BENCHMARK(BM_UpdateFromFolder)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
