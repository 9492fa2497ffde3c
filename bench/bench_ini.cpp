// Reading one random key, 10,000 times, from a 10,000-key CP932 file.
#include "platform/codec.h"
#include "platform/ini_file.h"
#include "platform/text_file.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

using namespace Qt::StringLiterals;

using namespace orvanel;

static void BM_RandomKeyReads(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"人物.ini"_s);
    QString text = u"[人物]\r\nPN=10000\r\n"_s;
    for (int i = 1; i <= 10000; ++i)
        text += QString::number(i) + u"=単語その"_s + QString::number(i) + u"番\r\n"_s;
    if (!WriteFileAtomic(path, codec::ToCp932(text)))
        return state.SkipWithError("cannot write the dictionary");
    std::mt19937 rng(7);
    for (auto _ : state) {
        IniStore ini; // a cold start every round: the first read parses
        for (int i = 0; i < 10000; ++i) {
            const QString key = QString::number(rng() % 10000 + 1);
            benchmark::DoNotOptimize(ini.Read(path, u"人物", key));
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_RandomKeyReads)->Unit(benchmark::kMillisecond)->MinTime(1.0);

BENCHMARK_MAIN();
