// Words for 10,000 random talks from a 61-category dictionary of 200 words each: every talk
// draws five words through GetWord (decoration included), as a template's variables do. Then
// the same talks played through the player, step by step on a virtual clock.
#include "core/app_context.h"
#include "core/settings.h"
#include "engine/engine.h"
#include "engine/headless_views.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "platform/text_file.h"
#include "script/script_player.h"
#include "talk/dictionary.h"
#include "talk/word_decoration.h"
#include "tools/trace_log.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

using namespace orvanel;

namespace {

constexpr int kTalks = 10000;
constexpr int kWordsPerTalk = 5;

// A program folder whose TalkEngine holds 61 categories of 200 words each.
QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    static const bool made = [] {
        QDir().mkpath(dir.filePath(u"TalkEngine"_s));
        for (int c = 0; c < kCategoryCount; ++c) {
            const QString name = CategoryName(c);
            QString text = u"["_s + name + u"]\nPN=200\n"_s;
            for (int i = 1; i <= 200; ++i)
                text += u"%1=%2の言葉その%1\n"_s.arg(i).arg(name);
            if (!WriteCp932File(dir.filePath(u"TalkEngine/"_s + name + u".ini"_s), text))
                return false;
        }
        return true;
    }();
    if (!made) qFatal("bench_script: cannot write the dictionary");
    return dir;
}

void BM_GetWordFor10000Talks(benchmark::State& state) {
    IniStore ini;
    Settings settings(ini, Folder().path());
    SystemRandom random(3);
    Dictionary dictionary(settings, random);
    WordDecorator words(dictionary, random);
    QStringList categories;
    for (int c = 0; c < kCategoryCount; ++c)
        categories << CategoryName(c);
    for (auto _ : state) {
        for (int t = 0; t < kTalks * kWordsPerTalk; ++t)
            benchmark::DoNotOptimize(words.GetWord(categories[random.Pick(kCategoryCount) - 1]));
    }
    state.SetItemsProcessed(state.iterations() * kTalks * kWordsPerTalk);
}
BENCHMARK(BM_GetWordFor10000Talks)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Play10000Talks(benchmark::State& state) {
    VirtualClock clock;
    SystemRandom random(5);
    IniStore ini;
    TraceLog log(clock);
    LoggingSystemActions actions(nullptr);
    AppContext ctx(clock, random, ini, Folder().path(), log, actions);
    Engine engine(ctx);
    ScriptPlayer& player = engine.Player();
    // One of the templates random talk plays: five word variables, waits and a line break.
    const QString talk = u"\\h%dp、\\w5%msが%vsしているのを見かけたんだけど、\\w5\\nあれって%gdで%"
                         u"vs1したかったんだと"
                         "思う%ev\\w8\\w8\\u･･･はぁ？"_s;
    for (auto _ : state) {
        for (int t = 0; t < kTalks; ++t) {
            player.PlayScript(talk);
            while (player.IsRunning()) {
                clock.Advance(50);
                player.StepScript();
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kTalks);
}
BENCHMARK(BM_Play10000Talks)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// 500 KB of text, tags, variables and commands mixed at random, played into headless balloons
// on a virtual clock (the case fuzzing found to cost more than linear time).
void BM_PlayMixedScript500KB(benchmark::State& state) {
    QFile file(QStringLiteral(ORVANEL_SOURCE_DIR "/tests/fuzz/player/mixed-500k.txt"));
    if (!file.open(QIODevice::ReadOnly)) return state.SkipWithError("no mixed-500k.txt");
    const QString script = QString::fromUtf8(file.readAll());
    VirtualClock clock;
    SystemRandom random(5);
    IniStore ini;
    TraceLog log(clock);
    LoggingSystemActions actions(nullptr);
    AppContext ctx(clock, random, ini, QStringLiteral(ORVANEL_DEFAULT_FOLDER), log, actions);
    ctx.flags.timerInterval = 50;
    Engine engine(ctx);
    HeadlessBalloon mainBalloon, fellowBalloon;
    HeadlessCharacter character;
    engine.SetViews(&mainBalloon, &fellowBalloon, &character);
    engine.ReloadScriptFiles();
    ScriptPlayer& player = engine.Player();
    player.hooks.clickWaitStarted = [&] { clock.ScheduleIn(900, [&] { player.Click(); }); };
    for (auto _ : state) {
        if (!PlayToEnd(player, clock, ctx, script, 10'000'000))
            return state.SkipWithError("the script did not end");
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_PlayMixedScript500KB)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
