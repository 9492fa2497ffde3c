// The default skin as the build installs it: pictures that fit their windows, one outline for
// both blink pictures, and hit areas on the drawn face.
#include "character/hit_areas.h"
#include "character/picture_file.h"
#include "character/region_cache.h"
#include "character/region_scanner.h"
#include "character/skin.h"
#include "character_test_support.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::test;

class TestDefaultSkin : public QObject {
    Q_OBJECT
    TestContext t{u"" ORVANEL_DEFAULT_FOLDER ""_s}; // read, never written
    const SkinState& skin = t.ctx.skin;

    QImage Picture(const QString& relative) const {
        QImage image;
        LoadPictureFile(image, FullPicturePath(t.ctx, relative));
        return image;
    }
    QImage Surface(int n) const { return Picture(SurfacePath(skin, n)); }

private Q_SLOTS:
    void initTestCase() {
        RecordingWindow messages;
        QCOMPARE(LoadSurfaceList(t.ctx, messages), Outcome::Go);
        QCOMPARE(messages.shown, QStringList());
        LoadSkinInfo(t.ctx);
        CheckFellowPresent(t.ctx);
        for (const QString& v : {skin.name, skin.author, skin.url, skin.hCallName, skin.fCallName})
            QVERIFY(!v.isEmpty() && v != u"不明");
        QCOMPARE(ReadSkinValue(t.ctx, u"Script"_s, u"ScriptFile"_s), u"script.txt"_s);
    }

    void picturesFitTheirWindows() {
        QStringList pictures{skin.fellowPicture, skin.balloons[0].picture,
                             skin.balloons[1].picture};
        for (int n = 1; n <= 7; ++n)
            pictures << SurfacePath(skin, n);
        QCOMPARE(QSet<QString>(pictures.begin(), pictures.end()).size(), 10); // no defaults
        for (const QString& p : std::as_const(pictures)) {
            const QImage image = Picture(p);
            QVERIFY2(image.hasAlphaChannel() && image.pixelColor(0, 0).alpha() == 0, qPrintable(p));
            const RegionData region = ScanRegion(image);
            QVERIFY2(!region.IsEmpty() && region.DataSize() < kRegionDataLimit, qPrintable(p));
        }
        for (int n = 1; n <= 7; ++n) { // one size, standing on the bottom edge
            QCOMPARE(Surface(n).size(), Surface(1).size());
            QCOMPARE(ScanRegion(Surface(n)).bounds.bottom, Surface(n).height());
        }
        for (const SkinState::Balloon& b : skin.balloons) {
            const QImage image = Picture(b.picture);
            QVERIFY(image.width() >= 300 && image.height() >= 190);
            // The message label and the panels over it (6..268 x 10..176) are painted in
            // BackColor (BGR); the picture must show that colour there.
            const QColor fill(b.backColor & 0xFF, (b.backColor >> 8) & 0xFF, b.backColor >> 16);
            for (int y = 10; y < 176; ++y)
                for (int x = 6; x < 268; ++x)
                    if (image.pixelColor(x, y) != fill) QFAIL(qPrintable(b.picture));
            // The tail points to the lower right, where the character stands.
            QVERIFY(ScanRegion(image).rects.last().left > image.width() * 3 / 4);
        }
    }

    void blinkingKeepsTheOutline() {
        QVERIFY(Surface(1) != Surface(2));
        QCOMPARE(ScanRegion(Surface(2)).rects, ScanRegion(Surface(1)).rects);
    }

    void hitAreasLieOnTheFace() {
        const HitAreas areas = PlaceHitAreas(t.ctx);
        const QRegion figure = ScanRegion(Surface(1)).ToQRegion();
        for (int a = 0; a < kHitAreaCount; ++a) {
            const QRect r = areas.Pixels(HitArea(a));
            QVERIFY(r.width() > 4 && r.height() > 4 && figure.intersected(r) == QRegion(r));
            for (int b = a + 1; a > 0 && b < kHitAreaCount; ++b) // face parts do not overlap
                QVERIFY(!areas.twips[size_t(a)].intersects(areas.twips[size_t(b)]));
        }
        // The eyes are where the picture is dark (iris).
        QVERIFY(Surface(1).pixelColor(areas.Pixels(HitArea::EyeL).center()).lightness() < 128);
    }
};

QTEST_GUILESS_MAIN(TestDefaultSkin)
#include "test_default_skin.moc"
