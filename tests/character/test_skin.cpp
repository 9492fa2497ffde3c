#include "character/hit_areas.h"
#include "character/picture_file.h"
#include "character/region_cache.h"
#include "character/region_scanner.h"
#include "character/skin.h"
#include "character_test_support.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::test;

namespace {

// A program folder with the given skin text and a picture at each of `pictures`.
void MakeSkin(TestContext& t, const QString& skin, const QStringList& pictures) {
    QVERIFY(skin.isEmpty() || t.WriteText(u"kanami.skn"_s, skin));
    for (const QString& p : pictures)
        QVERIFY(t.CopyIn(u"region-plus-sign.png"_s, QString(p).replace(u'\\', u'/')));
}

} // namespace

// Reading skins, their hit areas and pictures; then the default skin as the build installs it:
// pictures that fit their windows, one outline for both blink pictures, hit areas on the face.
class TestSkin : public QObject {
    Q_OBJECT
    TestContext defaults_{u"" ORVANEL_DEFAULT_FOLDER ""_s}; // read, never written
    const SkinState& defaultSkin_ = defaults_.ctx.skin;

    QImage Picture(const QString& relative) const {
        QImage image;
        LoadPictureFile(image, FullPicturePath(defaults_.ctx, relative));
        return image;
    }
    QImage Surface(int n) const { return Picture(SurfacePath(defaultSkin_, n)); }

private Q_SLOTS:
    void surfaceDefaults_data() {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("surfaces");
        // The defaults are relative to the program folder, not to the skin's folder.
        QTest::newRow("no skin file") << QString()
                                      << u"kanami\\Image1.gif kanami\\Image2.gif "
                                         "1 1 1 1 1"_s;
        QTest::newRow("surface 6 follows 5")
            << u"[Skin]\nFolder=x\nSurface1=a.png\nSurface5=e.png\n"_s
            << u"x\\a.png kanami\\Image2.gif 1 1 x\\e.png 5 1"_s;
        QTest::newRow("surface 6 follows 5's default")
            << u"[Skin]\nSurface1=a.png\nSurface2=b.png\nSurface6=\n"_s
            << u"a.png b.png 1 1 1 1 1"_s;
    }
    void surfaceDefaults() {
        QFETCH(QString, skin);
        QFETCH(QString, surfaces); // a digit stands for the path of that surface
        QStringList expected = surfaces.split(u' ');
        for (QString& p : expected)
            if (p.size() == 1) p = expected[p.toInt() - 1];
        TestContext t;
        MakeSkin(t, skin, expected);
        RecordingWindow messages;
        QCOMPARE(LoadSurfaceList(t.ctx, messages), Outcome::Go);
        QVERIFY(messages.shown.isEmpty());
        for (int n = 1; n <= 7; ++n)
            QCOMPARE(SurfacePath(t.ctx.skin, n), expected[n - 1]);
    }

    void missingSurfacePictures() {
        TestContext t;
        MakeSkin(t, u"[Skin]\nFolder=k\nSurface1=1.png\nSurface2=2.png\nSurface7=7.png\n"_s,
                 {u"k/1.png"_s, u"k/2.png"_s});
        RecordingWindow messages;
        QCOMPARE(LoadSurfaceList(t.ctx, messages), Outcome::Go); // a missing 7 is only told
        QCOMPARE(messages.shown, QStringList{t.Path(u"k/7.png"_s) + u"が見つかりません。"_s});
        QVERIFY(QFile::remove(t.Path(u"k/2.png"_s)));
        QCOMPARE(LoadSurfaceList(t.ctx, messages), Outcome::EndProgram);
        QCOMPARE(messages.shown.last(), t.Path(u"k/2.png"_s) + u"が見つかりません。"_s);
    }

    void skinInformation() {
        TestContext t;
        MakeSkin(t,
                 u"[Info]\nName=テスト\n[Skin]\nFolder=k\nBalloon0=b0.png\nBalloon1=b1.png\n"
                 "Surface10=fellow.png\n[Balloon0]\nTop=-300\nLeft=&H10\nBackColor=0\n"
                 "[Balloon1]\nBackColor=&H0\nForeColor=&HFF\n"_s,
                 {u"k/b0.png"_s, u"b1.png"_s});
        LoadSkinInfo(t.ctx);
        CheckFellowPresent(t.ctx);
        const SkinState& s = t.ctx.skin;
        QCOMPARE(QStringList({s.name, s.author, s.url, s.hSelfName}),
                 QStringList({u"テスト"_s, u"不明"_s, u"不明"_s, u"わたし"_s}));
        QCOMPARE(s.balloons[0].picture, u"k\\b0.png"_s);
        QCOMPARE(s.balloons[1].picture, u"b1.png"_s); // not in the skin folder: the bare value
        // A colour of 0 means "not given", also when written in hexadecimal.
        const SkinState::Balloon &b0 = s.balloons[0], &b1 = s.balloons[1];
        QCOMPARE((QList<int>{b0.left, b0.backColor, b0.foreColor, b1.backColor, b1.foreColor}),
                 (QList<int>{16, 0xFFFFFF, 0xD4D0C8, 0xFFFFFF, 255}));
        QVERIFY(s.fellowPresent);
        QCOMPARE(s.fellowPicture, u"k\\fellow.png"_s);
    }

    void hitAreasCarryOver() {
        // Missing keys and numbers that are not whole numbers keep the previous key's values.
        TestContext t;
        t.WriteText(
            u"kanami.skn"_s,
            u"[Region]\nHead=1500, 300, 2250 ,1200\nNose=9,x,,\nCheekR=&H10,2.5,-30,4,5\n"_s);
        const HitAreas placed = PlaceHitAreas(t.ctx);
        const QRect head(1500, 300, 2250, 1200), nose(9, 300, 2250, 1200);
        QCOMPARE(QList<QRect>(placed.twips.begin(), placed.twips.end()),
                 (QList<QRect>{head, head, head, nose, nose, nose, {16, 2, 0, 4}}));
    }

    void pictureFiles_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("as");
        QTest::addColumn<bool>("loads");
        QTest::newRow("png") << u"region-plus-sign.png"_s << u"p.Png"_s << true;
        QTest::newRow("gif") << u"picture-plus-sign.gif"_s << u"p.gif"_s << true;
        // The content decides for other names; a name ending in .png must carry the signature.
        QTest::newRow("png named gif") << u"region-plus-sign.png"_s << u"p.gif"_s << true;
        QTest::newRow("gif named PnG") << u"picture-plus-sign.gif"_s << u"p.PnG"_s << false;
        QTest::newRow("signature only") << u"region-plus-sign.png"_s << u"cut.png"_s << false;
        QTest::newRow("not a picture") << u"../character/CMakeLists.txt"_s << u"p.bmp"_s << false;
    }
    void pictureFiles() {
        QFETCH(QString, file);
        QFETCH(QString, as);
        QFETCH(bool, loads);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(kData + file, dir.filePath(as)));
        if (as == u"cut.png") QVERIFY(QFile::resize(dir.filePath(as), 40)); // header, no data
        QImage holder(3, 3, QImage::Format_RGB32);
        holder.fill(Qt::red);
        const QImage before = holder;
        // Names are found in any letter case, as skins made on Windows write them.
        QCOMPARE(LoadPictureFile(holder, dir.filePath(as.toUpper())), loads);
        QVERIFY(loads ? holder.width() == 7 : holder == before); // a failure keeps the holder
    }

    void initTestCase() {
        RecordingWindow messages;
        QCOMPARE(LoadSurfaceList(defaults_.ctx, messages), Outcome::Go);
        QCOMPARE(messages.shown, QStringList());
        LoadSkinInfo(defaults_.ctx);
        CheckFellowPresent(defaults_.ctx);
        for (const QString& v : {defaultSkin_.name, defaultSkin_.author, defaultSkin_.url,
                                 defaultSkin_.hCallName, defaultSkin_.fCallName})
            QVERIFY(!v.isEmpty() && v != u"不明");
        QCOMPARE(ReadSkinValue(defaults_.ctx, u"Script"_s, u"ScriptFile"_s), u"script.txt"_s);
    }

    void picturesFitTheirWindows() {
        QStringList pictures{defaultSkin_.fellowPicture, defaultSkin_.balloons[0].picture,
                             defaultSkin_.balloons[1].picture};
        for (int n = 1; n <= 7; ++n)
            pictures << SurfacePath(defaultSkin_, n);
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
        for (const SkinState::Balloon& b : defaultSkin_.balloons) {
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
        const HitAreas areas = PlaceHitAreas(defaults_.ctx);
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

QTEST_GUILESS_MAIN(TestSkin)
#include "test_skin.moc"
