// The outline scanner against pixman's union of the same runs (an independent referee for the
// banding and coalescing), and the ".rgn" cache with its "Region.ini" entry.
#include "character/picture_file.h"
#include "character/region_cache.h"
#include "character/region_scanner.h"
#include "character_test_support.h"
#include "platform/codec.h"

#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

#include <pixman.h>

#include <span>

using namespace orvanel;
using namespace orvanel::test;

namespace {

// Qt's own colour access and premultiplication, not the scanner's word tricks.
bool Transparent(const QImage& image, int x, int y) {
    const QRgb key = image.pixel(0, 0), c = image.pixel(x, y);
    if (image.hasAlphaChannel()) return qPremultiply(c) == qPremultiply(key);
    return (c & 0xFFFFFF) == (key & 0xFFFFFF);
}

// Every run of every row unioned into a pixman region: its rectangles, then its bounds; the
// window mask compared by area (QRegion does not coalesce the way the list does).
void CheckAgainstPixman(const QImage& image) {
    pixman_region32_t region;
    pixman_region32_init(&region);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0, start = -1; x <= image.width(); ++x) {
            const bool clear = x == image.width() || Transparent(image, x, y);
            if (!clear && start < 0) start = x;
            if (clear && start >= 0) {
                pixman_region32_union_rect(&region, &region, start, y, unsigned(x - start), 1);
                start = -1;
            }
        }
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region, &n);
    const pixman_box32_t* e = pixman_region32_extents(&region);
    QList<RegionRect> expected{n ? RegionRect{e->x1, e->y1, e->x2, e->y2} : RegionRect{}};
    QRegion area;
    for (const pixman_box32_t& b : std::span(boxes, size_t(n))) {
        expected.insert(expected.size() - 1, {b.x1, b.y1, b.x2, b.y2});
        area += QRect(QPoint(b.x1, b.y1), QPoint(b.x2 - 1, b.y2 - 1));
    }
    pixman_region32_fini(&region);
    const RegionData scanned = ScanRegion(image);
    QCOMPARE(scanned.rects + QList<RegionRect>{scanned.bounds}, expected);
    QVERIFY(scanned.ToQRegion().xored(area).isEmpty());
}

QByteArray Words(std::initializer_list<qint32> words) {
    QByteArray out(qsizetype(words.size()) * 4, '\0');
    qToLittleEndian<qint32>(words.begin(), qsizetype(words.size()), out.data());
    return out;
}

const QByteArray kPlusSignCache =
    Words({32, 1, 3, 48, 1, 1, 6, 6, 3, 1, 4, 3, 1, 3, 6, 4, 3, 4, 4, 6});

} // namespace

class TestRegion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scannerMatchesPixman() {
        // Hand-drawn shapes: two identical rows of two runs (QRegion alone would give four
        // rectangles), a figure on the top-left pixel, runs touching the right edge.
        for (const char* name : {"plus-sign", "two-identical-rows", "l-shape", "row-with-two-runs",
                                 "figure-at-top-left", "opaque-row", "run-touching-right-edge"}) {
            QImage image;
            QVERIFY(
                LoadPictureFile(image, kData + u"region-%1.png"_s.arg(QLatin1StringView(name))));
            CheckAgainstPixman(image);
        }
        QRandomGenerator rng(20240601);
        // Fully transparent pixels of any stored colour are cut out; an almost clear one stays.
        const QRgb palette[] = {qRgb(255, 0, 255), qRgb(10, 20, 30),     qRgb(200, 100, 0),
                                qRgba(1, 2, 3, 0), qRgba(90, 90, 90, 0), qRgba(255, 255, 255, 1)};
        for (int i = 0; i < 400; ++i) {
            QImage image(rng.bounded(1, 48), rng.bounded(1, 48),
                         i % 2 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y) {
                const bool repeat = y > 0 && rng.bounded(3) != 0; // worth coalescing
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(x, y,
                                   repeat                    ? image.pixel(x, y - 1)
                                   : x > 0 && rng.bounded(2) ? image.pixel(x - 1, y)
                                                             : palette[rng.bounded(3 + i % 2 * 3)]);
            }
            CheckAgainstPixman(image);
        }
        // A one-pixel checkerboard: four times the runs the original's buffers could hold.
        QImage board(120, 90, QImage::Format_RGB32);
        for (int y = 0; y < board.height(); ++y)
            for (int x = 0; x < board.width(); ++x)
                board.setPixel(x, y, (x + y) % 2 ? 0xFF000000 : 0xFFFFFFFF);
        CheckAgainstPixman(board);
        board.fill(qRgb(1, 2, 3));
        CheckAgainstPixman(board); // no figure: no rectangles, zero bounds
    }

    void cacheFiles() {
        TestContext t;
        t.WriteText(u"kanami.skn"_s, u"[Skin]\nFolder=kanami\n"_s);
        QVERIFY(t.CopyIn(u"region-plus-sign.png"_s, u"kanami/plus.png"_s));
        const QString picture = t.Path(u"kanami/plus.png"_s);
        QImage image;
        QVERIFY(LoadPictureFile(image, picture) && !FindRegionCache(t.ctx, picture));
        QCOMPARE(WriteRegionCache(t.ctx, picture, ScanRegion(image)), CacheWrite::Written);
        QFile rgn(t.Path(u"kanami/plus.rgn"_s)), index(t.Path(u"kanami/Region.ini"_s));
        QVERIFY(rgn.open(QIODevice::ReadOnly) && index.open(QIODevice::ReadOnly));
        QCOMPARE(rgn.readAll(), kPlusSignCache);
        const QString time = QFileInfo(picture).lastModified().toString(u"yyyy/MM/dd H:mm:ss"_s);
        QCOMPARE(index.readAll(), codec::ToCp932(u"[plus]\r\nFileName="_s + picture +
                                                 u"\r\nTime="_s + time + u"\r\n"_s));
        QVERIFY(FindRegionCache(t.ctx, picture));

        // A newer picture under the same name; sub-second differences do not count.
        QFile file(picture);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime was = file.fileTime(QFileDevice::FileModificationTime);
        QVERIFY(file.setFileTime(was.addSecs(2), QFileDevice::FileModificationTime));
        QVERIFY(!FindRegionCache(t.ctx, picture));
        const QTime second(was.time().hour(), was.time().minute(), was.time().second(), 900);
        QVERIFY(file.setFileTime(QDateTime(was.date(), second), QFileDevice::FileModificationTime));
        QVERIFY(FindRegionCache(t.ctx, picture));

        // Another picture with the same base name takes over the section and the file.
        QCOMPARE(PictureBaseName(u"C:\\TOMU\\kanami\\plus.old.gif"_s), u"plus.old"_s);
        QVERIFY(t.CopyIn(u"picture-plus-sign.gif"_s, u"kanami/x/plus.gif"_s));
        const QString other = t.Path(u"kanami/x/plus.gif"_s);
        QCOMPARE(WriteRegionCache(t.ctx, other, RegionData{}), CacheWrite::Written);
        QVERIFY(FindRegionCache(t.ctx, other) && !FindRegionCache(t.ctx, picture));
        QCOMPARE(RegionCachePath(t.ctx, other), rgn.fileName());

        // 32 + 3997 * 16 = 63,984 bytes is cached; 3998 rectangles make 64,000 and are not.
        RegionData big;
        big.rects.fill({0, 0, 1, 1}, 3998);
        QCOMPARE(WriteRegionCache(t.ctx, other, big), CacheWrite::TooLarge);
        big.rects.removeLast();
        QCOMPARE(WriteRegionCache(t.ctx, other, big), CacheWrite::Written);
        QCOMPARE(ReadRegionCacheFile(rgn.fileName())->rects, big.rects);
    }

    void readingCaches_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count"); // -1: no cache
        // Other writers: a larger nRgnSize, bytes after the last rectangle, an unbanded list.
        QTest::newRow("other writer")
            << Words({32, 1, 2, 64, 0, 0, 9, 9, 5, 5, 8, 8, 0, 0, 6, 6}) + "junk" << 2;
        QTest::newRow("nCount 4001")
            << Words({32, 1, 4001, 4001 * 16, 0, 0, 1, 1}) + QByteArray(4001 * 16, '\1') << 4001;
        QTest::newRow("nCount over 4001")
            << Words({32, 1, 4002, 4002 * 16, 0, 0, 1, 1}) + QByteArray(4002 * 16, '\1') << -1;
        QTest::newRow("short header") << Words({32, 1, 0, 0, 0, 0, 0, 0}).chopped(1) << -1;
        QTest::newRow("last rectangle cut") << kPlusSignCache.chopped(1) << -1;
        QTest::newRow("negative nCount") << Words({32, 1, -1, 0, 0, 0, 0, 0}) << -1;
        QTest::newRow("other type") << Words({32, 2, 0, 0, 0, 0, 0, 0}) << -1;
        QTest::newRow("nRgnSize too small") << Words({32, 1, 1, 8, 0, 0, 1, 1, 0, 0, 1, 1}) << -1;
    }
    void readingCaches() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        const std::optional<RegionData> r = ParseRegion(bytes);
        QCOMPARE(r ? r->rects.size() : -1, count);
        if (count == 2) { // bounds as written; the window still gets the union
            QCOMPARE(r->bounds, (RegionRect{0, 0, 9, 9}));
            QVERIFY(r->ToQRegion().xored(QRegion(5, 5, 3, 3) + QRegion(0, 0, 6, 6)).isEmpty());
        }
    }

    void timesReadLeniently() {
        const QDateTime t(QDate(2003, 4, 5), QTime(21, 8, 7), Qt::UTC);
        QCOMPARE(ParseRegionTime(u"2003-4-5 9:08:07 PM"_s), t);
        QCOMPARE(ParseRegionTime(u"2003年4月5日 午後 9:08:07"_s), t);
        QCOMPARE(ParseRegionTime(u"21:08:07"_s), std::nullopt); // no date
    }
};

QTEST_GUILESS_MAIN(TestRegion)
#include "test_region.moc"
