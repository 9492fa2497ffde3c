// The outline scanner against hand-worked pictures and, for the banding and coalescing of
// random pictures, against pixman's region union of the same runs.
#include "character/picture_file.h"
#include "character/region_scanner.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <pixman.h>

using namespace orvanel;
using namespace Qt::StringLiterals;

using Rects = QList<RegionRect>;

namespace {

bool Transparent(const QImage& image, int x, int y) {
    // Independent of the scanner's word tricks: Qt's own colour access and premultiplication.
    const QRgb key = image.pixel(0, 0), c = image.pixel(x, y);
    if (image.hasAlphaChannel()) return qPremultiply(c) == qPremultiply(key);
    return (c & 0xFFFFFF) == (key & 0xFFFFFF);
}

// The referee: every run of every row unioned into a pixman region; the bounds come last.
Rects Pixman(const QImage& image) {
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
    Rects out;
    for (int i = 0; i < n; ++i)
        out.append({boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    const pixman_box32_t* e = pixman_region32_extents(&region);
    out.append(n ? RegionRect{e->x1, e->y1, e->x2, e->y2} : RegionRect{});
    pixman_region32_fini(&region);
    return out;
}

Rects WithBounds(const RegionData& r) {
    return r.rects + Rects{r.bounds};
}

// QRegion compares its (uncoalesced) rectangle lists; the area is what counts.
bool SameArea(const QRegion& a, const QImage& image) {
    QRegion pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!Transparent(image, x, y)) pixels += QRect(x, y, 1, 1);
    return a.xored(pixels).isEmpty();
}

// A picture with structure worth coalescing: rows often repeat the previous row.
QImage RandomPicture(QRandomGenerator& rng, bool alpha) {
    QImage image(rng.bounded(1, 48), rng.bounded(1, 48),
                 alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const QRgb palette[] = {qRgba(255, 0, 255, 255), qRgba(10, 20, 30, 255),
                            qRgba(200, 100, 0, 255), qRgba(1, 2, 3, 0),
                            qRgba(90, 90, 90, 0),    qRgba(255, 255, 255, 128)};
    for (int y = 0; y < image.height(); ++y) {
        const bool repeat = y > 0 && rng.bounded(3) != 0;
        for (int x = 0; x < image.width(); ++x) {
            QRgb c = repeat ? image.pixel(x, y - 1) : palette[rng.bounded(alpha ? 6 : 3)];
            if (!repeat && x > 0 && rng.bounded(2)) c = image.pixel(x - 1, y); // longer runs
            image.setPixel(x, y, c);
        }
    }
    return image;
}

QImage Checkerboard(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, (x + y) % 2 ? 0xFF000000 : 0xFFFFFFFF);
    return image;
}

} // namespace

class TestRegionScanner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fixturePictures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Rects>("expected");
        QTest::newRow("plus sign")
            << u"region-plus-sign.png"_s << Rects{{3, 1, 4, 3}, {1, 3, 6, 4}, {3, 4, 4, 6}};
        // Two rows of two runs coalesce into two rectangles (QRegion alone would give four).
        QTest::newRow("two identical rows")
            << u"region-two-identical-rows.png"_s << Rects{{1, 1, 3, 3}, {4, 1, 5, 3}};
        QTest::newRow("L") << u"region-l-shape.png"_s << Rects{{1, 1, 2, 3}, {1, 3, 4, 4}};
        QTest::newRow("row with two runs")
            << u"region-row-with-two-runs.png"_s << Rects{{1, 1, 3, 2}, {5, 1, 7, 2}};
        // The top-left pixel belongs to the figure: its colour is cut out everywhere.
        QTest::newRow("figure at top-left")
            << u"region-figure-at-top-left.png"_s
            << Rects{{1, 0, 5, 1}, {1, 1, 2, 2}, {4, 1, 5, 2}, {0, 2, 5, 3}};
        QTest::newRow("fully opaque row") << u"region-opaque-row.png"_s << Rects{{0, 1, 4, 2}};
        QTest::newRow("runs touching the right edge")
            << u"region-run-touching-right-edge.png"_s << Rects{{2, 1, 5, 2}, {3, 2, 5, 3}};
        // Any colour but the transparent one belongs to the run.
        QTest::newRow("two-colour figure")
            << u"region-two-colour-figure.png"_s << Rects{{1, 1, 5, 3}};
    }
    void fixturePictures() {
        QFETCH(QString, file);
        QFETCH(Rects, expected);
        QImage image;
        QVERIFY(LoadPictureFile(image, QStringLiteral(ORVANEL_TEST_DATA "/") + file));
        const RegionData region = ScanRegion(image);
        QCOMPARE(region.rects, expected);
        QCOMPARE(WithBounds(region), Pixman(image));
        QVERIFY(SameArea(region.ToQRegion(), image));
    }

    void randomPicturesMatchPixman() {
        QRandomGenerator rng(20240601);
        for (int i = 0; i < 400; ++i) {
            const QImage image = RandomPicture(rng, i % 2 == 1);
            const RegionData region = ScanRegion(image);
            QCOMPARE(WithBounds(region), Pixman(image));
            QVERIFY(SameArea(region.ToQRegion(), image));
        }
    }

    void fullyTransparentPixelsCountWhateverTheirColour() {
        // Alpha-0 pixels of any stored colour are cut out; an almost transparent one stays.
        QImage image(4, 2, QImage::Format_ARGB32);
        image.fill(qRgba(0, 255, 0, 0));
        image.setPixel(1, 0, qRgba(255, 0, 0, 0));
        image.setPixel(2, 0, qRgba(0, 0, 255, 0));
        image.setPixel(3, 1, qRgba(0, 255, 0, 1));
        QTemporaryDir dir;
        QVERIFY(image.save(dir.filePath(u"dirty.png"_s), "PNG"));
        QImage loaded;
        QVERIFY(LoadPictureFile(loaded, dir.filePath(u"dirty.png"_s)));
        QCOMPARE(ScanRegion(loaded).rects, (Rects{{3, 1, 4, 2}}));
    }

    void moreRunsThanTheOriginalBuffersHeld() {
        // A one-pixel checkerboard has w * h / 2 runs, four times what the original's buffers
        // of round(w * h / 2) + 1 points could hold.
        const QImage board = Checkerboard(120, 90);
        QCOMPARE(WithBounds(ScanRegion(board)), Pixman(board));
        QCOMPARE(ScanRegion(board).rects.size(), qsizetype(120 * 90 / 2));
        // Without any figure there is nothing to cut to.
        QImage blank(5, 5, QImage::Format_RGB32);
        blank.fill(qRgb(1, 2, 3));
        QCOMPARE(WithBounds(ScanRegion(blank)), Rects{RegionRect{}});
        QVERIFY(ScanRegion(QImage()).IsEmpty());
    }

    void unbandedListsStillMakeTheirUnion() {
        // Caches from other writers may hold overlapping or unsorted rectangles.
        RegionData data;
        data.rects = {{5, 5, 8, 8}, {0, 0, 6, 6}};
        QVERIFY(!IsBanded(data.rects));
        QVERIFY(data.ToQRegion().xored(QRegion(5, 5, 3, 3) + QRegion(0, 0, 6, 6)).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRegionScanner)
#include "test_region_scanner.moc"
