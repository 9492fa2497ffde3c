// Surfaces on the character window: building, caching and reusing outlines, the failures of
// the message table, and the skin reload, through a recording window.
#include "character/character_surfaces.h"
#include "character/region_cache.h"
#include "character/skin.h"
#include "character_test_support.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::test;

namespace {

// Surface 3 (the L, 5x5) built: the progress window around the scan, the window disabled.
const QStringList kBuild = u"picture 5x5 at -1,-1|open|リージョンデータ作成中|resize 5x5|disable|"
                           "max 5|リージョンデータのセーブ中|shape 2|close|enable"_s.split(u'|');
const QStringList kFromCache =
    u"resize 5x5|disable|shape 2|picture 5x5 at -1,-1|enable"_s.split(u'|');

struct Stage {
    TestContext t;
    RecordingWindow w;
    CharacterSurfaces surfaces{t.ctx, w, w, w};

    Stage() {
        t.WriteText(u"kanami.skn"_s, u"[Skin]\nFolder=k\nSurface1=1.png\nSurface2=2.png\n"
                                     "Surface3=3.png\n"_s);
        t.CopyIn(u"region-plus-sign.png"_s, u"k/1.png"_s);
        t.CopyIn(u"region-plus-sign.png"_s, u"k/2.png"_s);
        t.CopyIn(u"region-l-shape.png"_s, u"k/3.png"_s);
        (void)LoadSurfaceList(t.ctx, w);
    }
    QStringList Take() { return std::exchange(w.calls, {}); }
};

struct RecordingSteps final : SkinReloadSteps {
    explicit RecordingSteps(const VirtualClock& c) : clock(c) {}
    const VirtualClock& clock;
    QStringList calls;
    RecordingWindow balloon;
    void PlaceHitAreas(const HitAreas& a) override {
        calls << u"head %1"_s.arg(a[HitArea::Head].width());
    }
    void ReloadScriptFiles() override { calls << u"scripts at %1 ms"_s.arg(clock.ElapsedMs()); }
    Outcome ReloadFellow() override { return calls << u"fellow"_s, Outcome::Go; }
    ShapedWindow& MainBalloon() override { return balloon; }
    void PlaceMainMessageArea() override { calls << u"message area"_s; }
};

} // namespace

class TestCharacterSurfaces : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstShowBuildsLaterShowsReadTheCache() {
        Stage s;
        s.surfaces.LoadBlinkPictures();
        QCOMPARE(s.surfaces.ShowSurface(3, true), Outcome::Go);
        QCOMPARE(s.Take(), kBuild);
        QVERIFY(s.t.ctx.flags.blinkHold);
        QCOMPARE(s.surfaces.ShowSurface(3, false), Outcome::Go);
        QCOMPARE(s.Take(), kFromCache);
        QVERIFY(!s.t.ctx.flags.blinkHold);
        QCOMPARE(s.w.shape.rects, (QList<RegionRect>{{1, 1, 2, 3}, {1, 3, 4, 4}}));
        QVERIFY(QFile::resize(s.t.Path(u"k/3.rgn"_s), 40)); // a short cache is built again
        (void)s.surfaces.ShowSurface(3, false);
        QCOMPARE(s.Take(), kBuild);
        QCOMPARE(QFileInfo(s.t.Path(u"k/3.rgn"_s)).size(), 32 + 2 * 16);
        for (int n : {0, 8}) // numbers outside the surfaces are ignored
            QCOMPARE(s.surfaces.ShowSurface(n, true), Outcome::Go);
        QVERIFY(s.w.calls.isEmpty() && !s.t.ctx.flags.blinkHold);
        // Surface 1 shows the kept picture, not what the file holds now.
        s.t.CopyIn(u"region-l-shape.png"_s, u"k/1.png"_s);
        (void)s.surfaces.ShowSurface(1, false);
        QVERIFY(s.Take().contains(u"picture 7x7 at -1,-1"_s));
    }

    void prepareBuildsEachPictureOnce() {
        Stage s; // before the blink pair is loaded surface 1 comes from its file
        QCOMPARE(s.surfaces.PrepareSurfaceShapes(), Outcome::Go);
        QCOMPARE(s.Take().count(u"open"_s), 3); // surfaces 4 to 7 share surface 1's picture
        QCOMPARE(ReadRegionCacheFile(s.t.Path(u"k/1.rgn"_s))->rects.size(), 3);
        QFile cache(s.t.Path(u"k/3.rgn"_s));
        QVERIFY(cache.resize(10)); // a damaged cache is rebuilt at once
        QCOMPARE(s.surfaces.PrepareSurfaceShapes(), Outcome::Go);
        QCOMPARE(s.Take(), kBuild);
        // So is one reaching outside its picture, such as a rectangle across the whole 32-bit
        // range (too wide for any window shape, which leaves it out).
        RegionData wide;
        wide.rects = {
            {std::numeric_limits<qint32>::min(), 0, std::numeric_limits<qint32>::max(), 1}};
        QVERIFY(wide.ToQRegion().isEmpty());
        QVERIFY(WriteFileAtomic(cache.fileName(), SerializeRegion(wide)));
        QCOMPARE(s.surfaces.PrepareSurfaceShapes(), Outcome::Go);
        QCOMPARE(s.Take(), kBuild);
        wide.rects = {{0, 0, 6, 5}}; // one pixel past the 5x5 picture
        QVERIFY(WriteFileAtomic(cache.fileName(), SerializeRegion(wide)));
        (void)s.surfaces.ShowSurface(3, false);
        QCOMPARE(s.Take(), kBuild);
        QVERIFY(QFile::remove(s.t.Path(u"k/3.png"_s)));
        QVERIFY(cache.remove());
        QCOMPARE(s.surfaces.PrepareSurfaceShapes(), Outcome::EndProgram);
        QCOMPARE(s.w.shown, QStringList{u"ファイルが見つかりません。"_s});
    }

    void failures() {
        Stage s;
        // An undecodable picture leaves the window as it was and caches nothing under its name.
        s.t.CopyIn(u"picture-plus-sign.gif"_s, u"k/3.png"_s);
        QCOMPARE(s.surfaces.ShowSurface(3, true), Outcome::Go);
        QVERIFY(s.w.calls.isEmpty() && !QFile::exists(s.t.Path(u"k/3.rgn"_s)));
        // Outlines of 64,000 bytes or more: built at every show, the message once.
        QImage board(100, 90, QImage::Format_RGB32); // 4,500 rectangles
        for (int y = 0; y < board.height(); ++y)
            for (int x = 0; x < board.width(); ++x)
                board.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        QVERIFY(board.save(s.t.Path(u"k/3.png"_s)));
        (void)s.surfaces.ShowSurface(3, false);
        (void)s.surfaces.ShowSurface(3, false);
        QCOMPARE(s.Take().count(u"open"_s), 2);
        QCOMPARE(s.w.shown, QStringList{u"ＣＧのサイズが大きすぎます。"_s});
        QVERIFY(!QFile::exists(s.t.Path(u"k/3.rgn"_s)));
        // A refused shape, when built and when read from the cache.
        s.w.refuseShape = true;
        s.w.shown.clear();
        (void)s.surfaces.ShowSurface(2, false);
        (void)s.surfaces.ShowSurface(2, false);
        QCOMPARE(s.w.shown,
                 (QStringList{u"フォームの変形に失敗しました。"_s, u"窓の整形に失敗しました。"_s}));
        QVERIFY(QFile::remove(s.t.Path(u"k/3.png"_s)));
        QCOMPARE(s.surfaces.ShowSurface(3, true), Outcome::EndProgram);
        QCOMPARE(s.w.shown.last(), s.t.Path(u"k/3.png"_s) + u"が見つかりません。"_s);
    }

    void skinReload() {
        Stage s;
        RecordingSteps steps(s.t.clock);
        s.t.WriteText(u"other.skn"_s, u"[Skin]\nFolder=o\nSurface1=1.png\nSurface2=1.png\n"
                                      "Balloon0=b.png\n[Region]\nHead=1,2,345,6\n"_s);
        s.t.CopyIn(u"region-l-shape.png"_s, u"o/1.png"_s);
        s.t.CopyIn(u"region-two-identical-rows.png"_s, u"o/b.png"_s);
        QVERIFY(s.t.ctx.settings.WriteSetting(SettingKey::SkinFile, u"other.skn"_s));
        s.t.ctx.flags.skinChangeRequest = s.t.ctx.flags.blinkHold = true;
        // A tick of the main timer inside the 500 ms wait must not start a second reload.
        s.t.clock.ScheduleIn(100, [&] { (void)s.surfaces.ReloadSkin(steps); });
        QCOMPARE(s.surfaces.ReloadSkin(steps), Outcome::Go);
        QCOMPARE(steps.calls, (QStringList{u"head 345"_s, u"scripts at 500 ms"_s, u"fellow"_s,
                                           u"message area"_s}));
        // One build for all surfaces, then surface 1 from its cache; the balloon's build follows.
        QCOMPARE(s.w.calls.mid(0, 15), kBuild + kFromCache);
        QCOMPARE(steps.balloon.shape.rects.size(), 2);
        QVERIFY(!s.t.ctx.flags.skinChangeRequest && !s.t.ctx.flags.blinkHold);
    }
};

QTEST_GUILESS_MAIN(TestCharacterSurfaces)
#include "test_character_surfaces.moc"
