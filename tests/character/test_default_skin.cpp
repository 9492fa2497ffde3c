// The default skin as the build installs it: every key, pictures that fit their windows, and
// hit areas on the drawn face.
#include "app/app_context.h"
#include "character/hit_areas.h"
#include "character/picture_file.h"
#include "character/region_cache.h"
#include "character/region_scanner.h"
#include "character/skin.h"
#include "character_test_support.h"
#include "platform/ini_file.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::test;
using namespace Qt::StringLiterals;

namespace {

// The installed default folder is read, never written: caches go to test folders.
struct DefaultSkin {
    VirtualClock clock;
    ScriptedRandom random;
    IniStore ini;
    TraceLog log{clock};
    LoggingSystemActions actions{[](const QString&) {}};
    AppContext ctx{clock, random, ini, QStringLiteral(ORVANEL_DEFAULT_FOLDER), log, actions};
    RecordingMessages messages;
    Outcome loaded;

    DefaultSkin() : loaded(LoadSurfaceList(ctx, messages)) {
        LoadSkinInfo(ctx);
        CheckFellowPresent(ctx);
    }
    QImage Picture(const QString& relative) {
        QImage image;
        LoadPictureFile(image, FullPicturePath(ctx, relative));
        return image;
    }
};

QColor FromBgr(qint32 bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace

class TestDefaultSkin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyKeyIsGiven() {
        DefaultSkin d;
        QCOMPARE(d.loaded, Outcome::Go);
        QVERIFY2(d.messages.shown.isEmpty(), qPrintable(d.messages.shown.join(u'\n')));
        const SkinState& s = d.ctx.skin;
        for (const QString& v : {s.name, s.author, s.url})
            QVERIFY(v != u"不明");
        QCOMPARE(s.hCallName, u"かなみ"_s);
        QVERIFY(!s.fCallName.isEmpty());
        QCOMPARE(ReadSkinValue(d.ctx, u"Script"_s, u"ScriptFile"_s), u"script.txt"_s);
        QCOMPARE(SkinFolderPrefix(d.ctx) + u"script.txt"_s, u"kanami\\script.txt"_s);
        QStringList surfaces;
        for (int n = 1; n <= 7; ++n)
            surfaces << SurfacePath(s, n);
        surfaces.removeDuplicates();
        QCOMPARE(surfaces.size(), 7); // seven expressions, no defaults
        QVERIFY(s.fellowPresent);
        QVERIFY(IsExistingFile(FullPicturePath(d.ctx, s.fellowPicture)));
        for (const QString& key :
             {u"Head"_s, u"EyeL"_s, u"EyeR"_s, u"Nose"_s, u"Mouth"_s, u"CheekL"_s, u"CheekR"_s})
            QCOMPARE(ReadSkinValue(d.ctx, u"Region"_s, key).split(u',').size(), 4);
        for (int i = 0; i < 2; ++i) {
            const QString section = u"Balloon%1"_s.arg(i);
            for (const QString& key : {u"Top"_s, u"Left"_s, u"BackColor"_s, u"ForeColor"_s})
                QVERIFY2(!ReadSkinValue(d.ctx, section, key).isEmpty(),
                         qPrintable(section + u' ' + key));
        }
    }

    void blinkingKeepsTheOutline() {
        DefaultSkin d;
        const QImage open = d.Picture(SurfacePath(d.ctx.skin, 1));
        const QImage closed = d.Picture(SurfacePath(d.ctx.skin, 2));
        QVERIFY(open != closed);
        QCOMPARE(ScanRegion(closed).rects, ScanRegion(open).rects);
    }

    void everyOutlineFitsTheCache() {
        DefaultSkin d;
        QStringList pictures{d.ctx.skin.fellowPicture, d.ctx.skin.balloons[0].picture,
                             d.ctx.skin.balloons[1].picture};
        for (int n = 1; n <= 7; ++n)
            pictures << SurfacePath(d.ctx.skin, n);
        for (const QString& p : std::as_const(pictures)) {
            const QImage image = d.Picture(p);
            QVERIFY2(!image.isNull() && image.hasAlphaChannel(), qPrintable(p));
            QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // transparent background
            const RegionData region = ScanRegion(image);
            QVERIFY2(!region.IsEmpty() && region.DataSize() < kRegionDataLimit, qPrintable(p));
        }
        // The character stands on the bottom edge; all surfaces share one size.
        for (int n = 1; n <= 7; ++n) {
            const QImage image = d.Picture(SurfacePath(d.ctx.skin, n));
            QCOMPARE(image.size(), d.Picture(SurfacePath(d.ctx.skin, 1)).size());
            QCOMPARE(ScanRegion(image).bounds.bottom, image.height());
        }
    }

    void balloonsCarryTheMessageArea() {
        DefaultSkin d;
        for (int i = 0; i < 2; ++i) {
            const SkinState::Balloon& b = d.ctx.skin.balloons[size_t(i)];
            const QImage image = d.Picture(b.picture);
            QVERIFY(image.width() >= 300 && image.height() >= 190);
            // The message label (13,15 260x135 px) and the panels laid over it (6..268 x
            // 10..176) are painted in BackColor; the picture must show that colour there.
            const QColor fill = FromBgr(b.backColor);
            for (int y = 10; y < 176; ++y)
                for (int x = 6; x < 268; ++x)
                    if (image.pixelColor(x, y) != fill)
                        QFAIL(qPrintable(u"balloon %1 at %2,%3"_s.arg(i).arg(x).arg(y)));
            // The tail points to the lower right: the lowest figure pixel is at the right.
            const RegionData region = ScanRegion(image);
            QVERIFY(region.rects.last().left > image.width() * 3 / 4);
        }
    }

    void hitAreasLieOnTheFace() {
        DefaultSkin d;
        const HitAreas areas = PlaceHitAreas(d.ctx);
        for (int n : {1, 2}) {
            const QImage image = d.Picture(SurfacePath(d.ctx.skin, n));
            const QRegion figure = ScanRegion(image).ToQRegion();
            for (int a = 0; a < kHitAreaCount; ++a) {
                const QRect r = areas.Pixels(HitArea(a));
                QVERIFY(r.width() > 4 && r.height() > 4);
                QVERIFY2(figure.contains(r) && figure.intersected(r) == QRegion(r),
                         qPrintable(u"area %1"_s.arg(a)));
            }
        }
        // Face parts do not overlap each other, and the head lies above the eyes.
        for (int a = 1; a < kHitAreaCount; ++a)
            for (int b = a + 1; b < kHitAreaCount; ++b)
                QVERIFY(!areas.twips[size_t(a)].intersects(areas.twips[size_t(b)]));
        QVERIFY(areas[HitArea::Head].bottom() < areas[HitArea::EyeL].top());
        // The eyes are where the picture is dark (iris), the cheeks where it is skin.
        const QImage normal = d.Picture(SurfacePath(d.ctx.skin, 1));
        QVERIFY(normal.pixelColor(areas.Pixels(HitArea::EyeL).center()).lightness() < 128);
        QVERIFY(normal.pixelColor(areas.Pixels(HitArea::EyeR).center()).lightness() < 128);
        QVERIFY(normal.pixelColor(areas.Pixels(HitArea::CheekL).center()).lightness() > 160);
    }
};

QTEST_GUILESS_MAIN(TestDefaultSkin)
#include "test_default_skin.moc"
