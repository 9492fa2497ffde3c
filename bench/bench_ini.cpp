// Reading one random key, 10,000 times, from a 10,000-key CP932 file: from a cold start (the
// first read parses) and with the file already parsed (what every later read costs).
#include "platform/codec.h"
#include "platform/ini_file.h"
#include "platform/text_file.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

using namespace Qt::StringLiterals;

using namespace orvanel;

static QString Dictionary(const QTemporaryDir& dir) {
    const QString path = dir.filePath(u"人物.ini"_s);
    QString text = u"[人物]\r\nPN=10000\r\n"_s;
    for (int i = 1; i <= 10000; ++i)
        text += QString::number(i) + u"=単語その"_s + QString::number(i) + u"番\r\n"_s;
    return WriteFileAtomic(path, codec::ToCp932(text)) ? path : QString();
}

static void RandomKeyReads(benchmark::State& state, bool cold) {
    QTemporaryDir dir;
    const QString path = Dictionary(dir);
    if (path.isEmpty()) return state.SkipWithError("cannot write the dictionary");
    std::mt19937 rng(7);
    QStringList keys;
    for (int i = 0; i < 10000; ++i)
        keys << QString::number(rng() % 10000 + 1);
    auto warm = std::make_unique<IniStore>();
    benchmark::DoNotOptimize(warm->Read(path, u"人物", u"PN"));
    for (auto _ : state) {
        if (cold) warm = std::make_unique<IniStore>();
        for (const QString& key : keys)
            benchmark::DoNotOptimize(warm->Read(path, u"人物", key));
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
static void BM_RandomKeyReadsCold(benchmark::State& state) {
    RandomKeyReads(state, true);
}
static void BM_RandomKeyReadsWarm(benchmark::State& state) {
    RandomKeyReads(state, false);
}
BENCHMARK(BM_RandomKeyReadsCold)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RandomKeyReadsWarm)->Unit(benchmark::kMillisecond)->MinTime(1.0);

BENCHMARK_MAIN();
