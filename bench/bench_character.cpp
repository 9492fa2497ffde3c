// Window outlines: scanning the default skin's pictures, a 400 x 600 and a 1000 x 1000
// picture, and reading a cache (what every later show of a surface costs).
#include "character/picture_file.h"
#include "character/region_cache.h"
#include "character/region_scanner.h"

#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

using namespace orvanel;

namespace {

QImage DefaultPicture(const QString& name) {
    QImage image;
    LoadPictureFile(image, QStringLiteral(ORVANEL_DEFAULT_FOLDER "/kanami/") + name);
    return image;
}

// A figure with the outline features of a character: a round head, long strands, a gap
// between arms and body, on a fully transparent background.
QImage SyntheticFigure(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 80, 60));
    p.drawEllipse(QRectF(width * 0.15, height * 0.02, width * 0.7, height * 0.45));
    for (int i = 0; i < 12; ++i)
        p.drawRoundedRect(QRectF(width * (0.12 + i * 0.064), height * 0.2, width * 0.04,
                                 height * (0.5 + 0.02 * (i % 5))),
                          4, 4);
    p.setBrush(QColor(250, 250, 255));
    p.drawRect(QRectF(width * 0.2, height * 0.55, width * 0.6, height * 0.45));
    p.drawRect(QRectF(width * 0.05, height * 0.6, width * 0.1, height * 0.4));
    p.drawRect(QRectF(width * 0.85, height * 0.6, width * 0.1, height * 0.4));
    return image;
}

void ScanOnce(benchmark::State& state, const QImage& image) {
    qsizetype rects = 0;
    for (auto _ : state) {
        const RegionData region = ScanRegion(image);
        rects = region.rects.size();
        benchmark::DoNotOptimize(region.rects.constData());
    }
    state.counters["rects"] = double(rects);
    state.counters["pixels"] = double(image.width()) * image.height();
}

} // namespace

static void BM_ScanDefaultSurface(benchmark::State& state) {
    const QString name = u"surface%1.png"_s.arg(state.range(0));
    const QImage image = DefaultPicture(name);
    if (image.isNull()) return state.SkipWithError("build orvanel_data first");
    ScanOnce(state, image);
}
BENCHMARK(BM_ScanDefaultSurface)->DenseRange(1, 7)->Unit(benchmark::kMicrosecond);

static void BM_ScanDefaultPicture(benchmark::State& state) {
    static const char* kNames[] = {"fellow.png", "balloon0.png", "balloon1.png"};
    const QImage image = DefaultPicture(QString::fromLatin1(kNames[state.range(0)]));
    if (image.isNull()) return state.SkipWithError("build orvanel_data first");
    state.SetLabel(kNames[state.range(0)]);
    ScanOnce(state, image);
}
BENCHMARK(BM_ScanDefaultPicture)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Kanami scaled to the 400 x 600 the target names (smooth scaling keeps the soft edges).
static void BM_ScanSurfaceAt400x600(benchmark::State& state) {
    const QImage image = DefaultPicture(u"surface1.png"_s)
                             .scaled(400, 600, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.isNull()) return state.SkipWithError("build orvanel_data first");
    ScanOnce(state, image);
}
BENCHMARK(BM_ScanSurfaceAt400x600)->Unit(benchmark::kMicrosecond);

static void BM_ScanSynthetic(benchmark::State& state) {
    ScanOnce(state, SyntheticFigure(int(state.range(0)), int(state.range(1))));
}
BENCHMARK(BM_ScanSynthetic)->Args({400, 600})->Args({1000, 1000})->Unit(benchmark::kMicrosecond);

// The worst case for the scanner: a one-pixel checkerboard, one rectangle per opaque pixel.
static void BM_ScanCheckerboard1000(benchmark::State& state) {
    QImage image(1000, 1000, QImage::Format_RGB32);
    for (int y = 0; y < 1000; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < 1000; ++x)
            line[x] = (x + y) % 2 ? 0xFF000000 : 0xFFFFFFFF;
    }
    ScanOnce(state, image);
}
BENCHMARK(BM_ScanCheckerboard1000)->Unit(benchmark::kMillisecond);

// Reading a cache file: surface 1's, and the largest one that may be written (3,997 rects).
static void BM_ReadRegionCache(benchmark::State& state) {
    QTemporaryDir dir;
    RegionData region;
    if (state.range(0) == 0) {
        region = ScanRegion(DefaultPicture(u"surface1.png"_s));
    } else {
        for (int i = 0; i < 3997; ++i)
            region.rects.append({i % 7, i, 9, i + 1});
        region.bounds = {0, 0, 9, 3997};
    }
    const QString path = dir.filePath(u"cache.rgn"_s);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(SerializeRegion(region)) < 0)
        return state.SkipWithError("cannot write the cache");
    f.close();
    for (auto _ : state) {
        const std::optional<RegionData> read = ReadRegionCacheFile(path);
        benchmark::DoNotOptimize(read->rects.constData());
    }
    state.counters["rects"] = double(region.rects.size());
}
BENCHMARK(BM_ReadRegionCache)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Turning a rectangle list into the QRegion a window takes.
static void BM_ToQRegion(benchmark::State& state) {
    const RegionData region = ScanRegion(SyntheticFigure(1000, 1000));
    for (auto _ : state)
        benchmark::DoNotOptimize(region.ToQRegion().rectCount());
    state.counters["rects"] = double(region.rects.size());
}
BENCHMARK(BM_ToQRegion)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
