// The outline scanner against hand-worked pictures and, for the banding and coalescing of
// random pictures, against pixman's region union of the same runs.
#include "character/picture_file.h"
#include "character/region_scanner.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTest>

#include <pixman.h>

using namespace orvanel;
using namespace Qt::StringLiterals;

using Rects = QList<RegionRect>;
Q_DECLARE_METATYPE(RegionRect)

namespace QTest {
template <> char* toString(const RegionRect& r) {
    return qstrdup(QStringLiteral("(%1,%2,%3,%4)")
                       .arg(r.left)
                       .arg(r.top)
                       .arg(r.right)
                       .arg(r.bottom)
                       .toUtf8()
                       .constData());
}
} // namespace QTest

namespace {

bool Transparent(const QImage& image, int x, int y) {
    // Independent of the scanner's word tricks: Qt's own colour access and premultiplication.
    const QRgb key = image.pixel(0, 0);
    const QRgb c = image.pixel(x, y);
    if (image.hasAlphaChannel()) return qPremultiply(c) == qPremultiply(key);
    return (c & 0xFFFFFF) == (key & 0xFFFFFF);
}

// The referee: every run of every row unioned into a pixman region.
Rects PixmanRects(const QImage& image, RegionRect* bounds = nullptr) {
    pixman_region32_t region;
    pixman_region32_init(&region);
    for (int y = 0; y < image.height(); ++y) {
        int start = -1;
        for (int x = 0; x <= image.width(); ++x) {
            const bool clear = x == image.width() || Transparent(image, x, y);
            if (!clear && start < 0) start = x;
            if (clear && start >= 0) {
                pixman_region32_union_rect(&region, &region, start, y, unsigned(x - start), 1);
                start = -1;
            }
        }
    }
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region, &n);
    Rects out;
    for (int i = 0; i < n; ++i)
        out.append({boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    if (bounds) {
        const pixman_box32_t* e = pixman_region32_extents(&region);
        *bounds = n ? RegionRect{e->x1, e->y1, e->x2, e->y2} : RegionRect{};
    }
    pixman_region32_fini(&region);
    return out;
}

QImage Fixture(const QString& name) {
    QImage image;
    const bool ok = LoadPictureFile(image, QStringLiteral(ORVANEL_TEST_DATA "/") + name);
    return ok ? image : QImage();
}

QRegion RowUnion(const QImage& image) {
    QRegion region;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!Transparent(image, x, y)) region += QRect(x, y, 1, 1);
    return region;
}

// QRegion compares its (uncoalesced) rectangle lists; the area is what counts.
bool SameArea(const QRegion& a, const QRegion& b) {
    return a.xored(b).isEmpty();
}

// A picture with structure worth coalescing: rows often repeat the previous row.
QImage RandomPicture(QRandomGenerator& rng, bool alpha) {
    const int w = rng.bounded(1, 48);
    const int h = rng.bounded(1, 48);
    QImage image(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const QRgb palette[] = {qRgba(255, 0, 255, 255), qRgba(10, 20, 30, 255),
                            qRgba(200, 100, 0, 255), qRgba(1, 2, 3, 0),
                            qRgba(90, 90, 90, 0),    qRgba(255, 255, 255, 128)};
    const int colours = alpha ? 6 : 3;
    for (int y = 0; y < h; ++y) {
        const bool repeat = y > 0 && rng.bounded(3) != 0;
        for (int x = 0; x < w; ++x) {
            QRgb c = repeat ? image.pixel(x, y - 1) : palette[rng.bounded(colours)];
            if (!repeat && x > 0 && rng.bounded(2)) c = image.pixel(x - 1, y); // longer runs
            image.setPixel(x, y, c);
        }
    }
    return image;
}

} // namespace

class TestRegionScanner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fixturePictures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Rects>("expected");
        QTest::addColumn<RegionRect>("bounds");
        QTest::newRow("plus sign")
            << u"region-plus-sign.png"_s << Rects{{3, 1, 4, 3}, {1, 3, 6, 4}, {3, 4, 4, 6}}
            << RegionRect{1, 1, 6, 6};
        // Two rows of two runs coalesce into two rectangles (QRegion alone would give four).
        QTest::newRow("two identical rows")
            << u"region-two-identical-rows.png"_s << Rects{{1, 1, 3, 3}, {4, 1, 5, 3}}
            << RegionRect{1, 1, 5, 3};
        QTest::newRow("L") << u"region-l-shape.png"_s << Rects{{1, 1, 2, 3}, {1, 3, 4, 4}}
                           << RegionRect{1, 1, 4, 4};
        QTest::newRow("row with two runs")
            << u"region-row-with-two-runs.png"_s << Rects{{1, 1, 3, 2}, {5, 1, 7, 2}}
            << RegionRect{1, 1, 7, 2};
        // The top-left pixel belongs to the figure: its colour is cut out everywhere.
        QTest::newRow("figure at top-left")
            << u"region-figure-at-top-left.png"_s
            << Rects{{1, 0, 5, 1}, {1, 1, 2, 2}, {4, 1, 5, 2}, {0, 2, 5, 3}}
            << RegionRect{0, 0, 5, 3};
        QTest::newRow("fully opaque row")
            << u"region-opaque-row.png"_s << Rects{{0, 1, 4, 2}} << RegionRect{0, 1, 4, 2};
        QTest::newRow("runs touching the right edge")
            << u"region-run-touching-right-edge.png"_s << Rects{{2, 1, 5, 2}, {3, 2, 5, 3}}
            << RegionRect{2, 1, 5, 3};
        // Colours other than the transparent one form one run however many there are.
        QTest::newRow("two-colour figure")
            << u"region-two-colour-figure.png"_s << Rects{{1, 1, 5, 3}} << RegionRect{1, 1, 5, 3};
        QTest::newRow("GIF") << u"picture-plus-sign.gif"_s
                             << Rects{{3, 1, 4, 3}, {1, 3, 6, 4}, {3, 4, 4, 6}}
                             << RegionRect{1, 1, 6, 6};
        QTest::newRow("BMP") << u"picture-plus-sign.bmp"_s
                             << Rects{{3, 1, 4, 3}, {1, 3, 6, 4}, {3, 4, 4, 6}}
                             << RegionRect{1, 1, 6, 6};
    }
    void fixturePictures() {
        QFETCH(QString, file);
        QFETCH(Rects, expected);
        QFETCH(RegionRect, bounds);
        const QImage image = Fixture(file);
        QVERIFY(!image.isNull());
        const RegionData region = ScanRegion(image);
        QCOMPARE(region.rects, expected);
        QCOMPARE(region.bounds, bounds);
        QCOMPARE(region.rects, PixmanRects(image));
        QVERIFY(SameArea(region.ToQRegion(), RowUnion(image)));
    }

    void randomPicturesMatchPixman() {
        QRandomGenerator rng(20240601);
        for (int i = 0; i < 400; ++i) {
            const QImage image = RandomPicture(rng, i % 2 == 1);
            RegionRect bounds;
            const Rects expected = PixmanRects(image, &bounds);
            const RegionData region = ScanRegion(image);
            if (region.rects != expected || region.bounds != bounds)
                QFAIL(qPrintable(QStringLiteral("picture %1 (%2x%3) differs from pixman")
                                     .arg(i)
                                     .arg(image.width())
                                     .arg(image.height())));
            QVERIFY(SameArea(region.ToQRegion(), RowUnion(image)));
        }
    }

    void fullyTransparentPixelsCountWhateverTheirColour() {
        // Stored colours of alpha-0 pixels differ; all of them are cut out, and a
        // half-transparent pixel of the same colour stays.
        QImage image(4, 2, QImage::Format_ARGB32);
        image.fill(qRgba(0, 255, 0, 0));
        image.setPixel(1, 0, qRgba(255, 0, 0, 0));
        image.setPixel(2, 0, qRgba(0, 0, 255, 0));
        image.setPixel(3, 1, qRgba(0, 255, 0, 1));
        QTemporaryDir dir;
        const QString file = dir.filePath(u"dirty-transparent.png"_s);
        QVERIFY(image.save(file, "PNG"));
        QImage loaded;
        QVERIFY(LoadPictureFile(loaded, file));
        QVERIFY(loaded.hasAlphaChannel());
        QCOMPARE(ScanRegion(loaded).rects, (Rects{{3, 1, 4, 2}}));
    }

    void moreRunsThanTheOriginalBuffersHeld() {
        // A one-pixel checkerboard has width * height / 2 runs, four times what the original's
        // buffers of round(w * h / 2) + 1 points could hold.
        QImage image(120, 90, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        const RegionData region = ScanRegion(image);
        QCOMPARE(region.rects.size(), qsizetype(120 * 90 / 2));
        QCOMPARE(region.rects, PixmanRects(image));
    }

    void picturesWithoutFigureGiveNoRectangles() {
        QImage blank(5, 5, QImage::Format_RGB32);
        blank.fill(qRgb(1, 2, 3));
        QVERIFY(ScanRegion(blank).IsEmpty());
        QCOMPARE(ScanRegion(blank).bounds, RegionRect{});
        QVERIFY(ScanRegion(QImage()).IsEmpty());
        QVERIFY(ScanRegion(blank).ToQRegion().isEmpty());
    }

    void progressSeesEveryTenthRow() {
        QImage image(3, 25, QImage::Format_RGB32);
        image.fill(Qt::white);
        QList<int> rows;
        (void)ScanRegion(image, [&](int row) { rows << row; });
        QCOMPARE(rows, (QList<int>{0, 10, 20}));
    }

    void unbandedListsStillMakeTheirUnion() {
        // Caches from other writers may hold overlapping or unsorted rectangles.
        RegionData data;
        data.rects = {{5, 5, 8, 8}, {0, 0, 6, 6}, {2, 2, 2, 9}};
        QVERIFY(!IsBanded(data.rects));
        QVERIFY(SameArea(data.ToQRegion(), QRegion(5, 5, 3, 3) + QRegion(0, 0, 6, 6)));
    }
};

QTEST_GUILESS_MAIN(TestRegionScanner)
#include "test_region_scanner.moc"
