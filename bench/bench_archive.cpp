// Dictionary archives: a TalkEngine.lzh of 61 categories of 2,000 words dropped on the
// character, unpacked into "TEtmp" and merged into a dictionary of 61 × 2,000 words, end to end
// through the Engine (half the dropped words are known in other letter case); and the two
// halves alone: unpacking, and writing the archive as the export does.
#include "core/app_context.h"
#include "engine/engine.h"
#include "platform/archive.h"
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
    if (!WriteCp932File(path, text)) qFatal("bench_archive: cannot write %s", qPrintable(path));
}

// A program folder with its dictionary, and beside it the archive of another one.
struct Setup {
    QTemporaryDir dir;
    QString archive = dir.filePath(u"friend.260101.TalkEngine.lzh"_s);

    Setup() {
        QDir().mkpath(dir.filePath(u"TalkEngine"_s));
        QDir().mkpath(dir.filePath(u"export"_s));
        for (int c = 0; c < kCategoryCount; ++c) {
            const QString category = CategoryName(c);
            WriteCategory(dir.filePath(u"TalkEngine/"_s + category + u".ini"_s), category, 0,
                          "word");
            WriteCategory(dir.filePath(u"export/"_s + category + u".ini"_s), category, kWords / 2,
                          "WORD");
        }
    }
};

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "bench_archive";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv); // so that the merge really lets events run
    return app;
}

void BM_DropDictionaryArchive(benchmark::State& state) {
    App();
    for (auto _ : state) {
        state.PauseTiming();
        Setup setup;
        if (!WriteArchive(setup.archive, setup.dir.filePath(u"export"_s)).Ok())
            state.SkipWithError("cannot write the archive");
        SystemClock clock;
        SystemRandom random(3);
        IniStore ini;
        TraceLog log(clock);
        LoggingSystemActions actions(nullptr);
        AppContext ctx(clock, random, ini, setup.dir.path(), log, actions);
        Engine engine(ctx);
        TalkEngine& talk = engine.Talk();
        state.ResumeTiming();

        talk.HandleDrop(setup.archive);

        state.PauseTiming();
        if (talk.Bulk().AddedCount() != kCategoryCount * kWords / 2 ||
            engine.Words().WordCount(CategoryName(60)) != kWords * 3 / 2)
            state.SkipWithError("the archive was not merged");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DropDictionaryArchive)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExtractArchive(benchmark::State& state) {
    Setup setup;
    if (!WriteArchive(setup.archive, setup.dir.filePath(u"export"_s)).Ok())
        return state.SkipWithError("cannot write the archive");
    state.counters["archive bytes"] = double(QFileInfo(setup.archive).size());
    for (auto _ : state) {
        QDir(setup.dir.filePath(u"TEtmp"_s)).removeRecursively();
        if (!ExtractArchive(setup.archive, setup.dir.filePath(u"TEtmp"_s)).Ok())
            state.SkipWithError("cannot extract");
    }
}
BENCHMARK(BM_ExtractArchive)->Unit(benchmark::kMillisecond);

void BM_WriteArchive(benchmark::State& state) {
    Setup setup;
    qint64 bytes = 0;
    for (const QFileInfo& f : QDir(setup.dir.filePath(u"export"_s)).entryInfoList(QDir::Files))
        bytes += f.size();
    for (auto _ : state) {
        if (!WriteArchive(setup.archive, setup.dir.filePath(u"export"_s)).Ok())
            state.SkipWithError("cannot write");
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_WriteArchive)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
