// Surfaces on the character window: building, caching and reusing outlines, the failures of
// the message table, and the skin reload, through recording windows.
#include "character/character_surfaces.h"
#include "character/region_cache.h"
#include "character/skin.h"
#include "character_test_support.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::test;
using namespace Qt::StringLiterals;

namespace {

const QString kData = QStringLiteral(ORVANEL_TEST_DATA "/");
const QStringList kBuild = {u"open"_s, u"リージョンデータ作成中"_s, u"max 5"_s,
                            u"リージョンデータのセーブ中"_s, u"close"_s};

struct Stage {
    TestContext t;
    RecordingWindow window;
    RecordingProgress progress;
    RecordingMessages messages;
    CharacterSurfaces surfaces{t.ctx, window, progress, messages};

    Stage() {
        t.WriteText(u"kanami.skn"_s, u"[Skin]\nFolder=k\nSurface1=1.png\nSurface2=2.png\n"
                                     "Surface3=3.png\nBalloon0=b.png\n"_s);
        t.CopyIn(kData + u"region-plus-sign.png"_s, u"k/1.png"_s);
        t.CopyIn(kData + u"region-plus-sign.png"_s, u"k/2.png"_s);
        t.CopyIn(kData + u"region-l-shape.png"_s, u"k/3.png"_s);
        t.CopyIn(kData + u"region-two-identical-rows.png"_s, u"k/b.png"_s);
        (void)LoadSurfaceList(t.ctx, messages);
        LoadSkinInfo(t.ctx);
        surfaces.LoadBlinkPictures();
    }
    void Reset() {
        window.calls.clear();
        progress.calls.clear();
        messages.shown.clear();
    }
    void Touch(const QString& relative, int seconds) {
        QFile f(t.Path(relative));
        if (f.open(QIODevice::ReadWrite))
            f.setFileTime(f.fileTime(QFileDevice::FileModificationTime).addSecs(seconds),
                          QFileDevice::FileModificationTime);
    }
};

struct RecordingSteps final : SkinReloadSteps {
    Stage* stage = nullptr;
    QStringList calls;
    RecordingWindow balloon;
    Outcome fellow = Outcome::Go;
    void PlaceHitAreas(const HitAreas& areas) override {
        calls << QStringLiteral("hit areas %1").arg(areas[HitArea::Head].width());
    }
    void ReloadScriptFiles() override {
        calls << QStringLiteral("scripts at %1 ms").arg(stage->t.clock.ElapsedMs());
    }
    Outcome ReloadFellow() override {
        calls << QStringLiteral("fellow");
        return fellow;
    }
    ShapedWindow& MainBalloon() override {
        calls << QStringLiteral("balloon");
        return balloon;
    }
    void PlaceMainMessageArea() override { calls << QStringLiteral("message area"); }
};

} // namespace

class TestCharacterSurfaces : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstShowBuildsLaterShowsReadTheCache() {
        Stage s;
        QCOMPARE(s.surfaces.ShowSurface(3, true), Outcome::Go);
        QCOMPARE(s.window.calls, (QStringList{u"picture 5x5"_s, u"resize 5x5"_s, u"disable"_s,
                                              u"shape 2"_s, u"enable"_s}));
        QCOMPARE(s.progress.calls, kBuild);
        QCOMPARE(s.progress.values, QList<int>{0});
        QCOMPARE(s.window.offset, QPoint(-1, -1));
        QVERIFY(s.t.ctx.flags.blinkHold);
        QVERIFY(QFile::exists(s.t.Path(u"k/3.rgn"_s)));

        s.Reset();
        QCOMPARE(s.surfaces.ShowSurface(3, false), Outcome::Go);
        QCOMPARE(s.window.calls, (QStringList{u"resize 5x5"_s, u"disable"_s, u"shape 2"_s,
                                              u"picture 5x5"_s, u"enable"_s}));
        QVERIFY(s.progress.calls.isEmpty());
        QVERIFY(!s.t.ctx.flags.blinkHold);
        QCOMPARE(s.window.shape.rects, (QList<RegionRect>{{1, 1, 2, 3}, {1, 3, 4, 4}}));
    }

    void unusableCachesAreRebuilt_data() {
        QTest::addColumn<int>("keep");
        QTest::newRow("truncated") << 40;
        QTest::newRow("empty") << 0;
        QTest::newRow("missing") << -1;
    }
    void unusableCachesAreRebuilt() {
        QFETCH(int, keep);
        Stage s;
        (void)s.surfaces.ShowSurface(3, false);
        const QString cache = s.t.Path(u"k/3.rgn"_s);
        QFile f(cache);
        const QByteArray good = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        f.close();
        if (keep < 0)
            QVERIFY(QFile::remove(cache));
        else
            QVERIFY(f.resize(keep));
        s.Reset();
        QCOMPARE(s.surfaces.ShowSurface(3, false), Outcome::Go);
        QCOMPARE(s.progress.calls, kBuild);
        QVERIFY(s.messages.shown.isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), good);
    }

    void surfaceOneComesFromTheKeptPicture() {
        Stage s;
        // The file on disk changes, the kept picture of the skin does not.
        s.t.CopyIn(kData + u"region-l-shape.png"_s, u"k/1.png"_s);
        (void)s.surfaces.ShowSurface(1, false);
        QCOMPARE(s.window.picture, s.surfaces.OpenEyes());
        QCOMPARE(s.window.picture.size(), QSize(7, 7));
        QCOMPARE(s.surfaces.ClosedEyes().size(), QSize(7, 7));
    }

    void numbersOutsideTheSurfacesAreIgnored() {
        Stage s;
        s.t.ctx.flags.blinkHold = true;
        for (int n : {0, 8, 10, -1})
            QCOMPARE(s.surfaces.ShowSurface(n, false), Outcome::Go);
        QVERIFY(s.window.calls.isEmpty());
        QVERIFY(s.t.ctx.flags.blinkHold);
    }

    void missingPictureEndsTheProgram() {
        Stage s;
        QVERIFY(QFile::remove(s.t.Path(u"k/3.png"_s)));
        QCOMPARE(s.surfaces.ShowSurface(3, true), Outcome::EndProgram);
        QCOMPARE(s.messages.shown, QStringList{s.t.Path(u"k/3.png"_s) + u"が見つかりません。"_s});
        QVERIFY(s.window.calls.isEmpty());
    }

    void undecodablePictureLeavesTheWindowAsItWas() {
        Stage s;
        s.t.CopyIn(kData + u"picture-gif-with-png-name.png"_s, u"k/3.png"_s);
        QCOMPARE(s.surfaces.ShowSurface(3, true), Outcome::Go);
        QVERIFY(s.window.calls.isEmpty());
        QVERIFY(s.messages.shown.isEmpty());
        QVERIFY(!QFile::exists(s.t.Path(u"k/3.rgn"_s))); // no outline cached under its name
        QVERIFY(s.t.ctx.flags.blinkHold);
    }

    void prepareBuildsEachPictureOnce() {
        Stage s;
        // Surfaces 4 to 7 share surface 1's picture: three pictures, three builds.
        QCOMPARE(s.surfaces.PrepareSurfaceShapes(), Outcome::Go);
        QCOMPARE(s.progress.calls.count(u"open"_s), 3);
        QCOMPARE(s.window.picture.size(), QSize(5, 5)); // the last one built (3) stays on screen
        QVERIFY(s.window.enabled);
        s.Reset();
        QCOMPARE(s.surfaces.PrepareSurfaceShapes(), Outcome::Go);
        QVERIFY(s.progress.calls.isEmpty());
        QVERIFY(s.window.calls.isEmpty());
        // A damaged cache is rebuilt at once.
        QFile cache(s.t.Path(u"k/3.rgn"_s));
        QVERIFY(cache.resize(10));
        QCOMPARE(s.surfaces.PrepareSurfaceShapes(), Outcome::Go);
        QCOMPARE(s.progress.calls.count(u"open"_s), 1);
        QCOMPARE(cache.size(), qint64(32 + 2 * 16));

        // A picture that vanished without a valid cache: the short message, then the end.
        QVERIFY(QFile::remove(s.t.Path(u"k/3.png"_s)));
        QCOMPARE(s.surfaces.PrepareSurfaceShapes(), Outcome::EndProgram);
        QCOMPARE(s.messages.shown, QStringList{u"ファイルが見つかりません。"_s});
    }

    void refusedShapes() {
        Stage s;
        s.window.refuseShape = true;
        (void)s.surfaces.ShowSurface(3, false);
        QCOMPARE(s.messages.shown, QStringList{u"フォームの変形に失敗しました。"_s});
        QCOMPARE(s.progress.calls.last(), u"close"_s);
        QVERIFY(QFile::exists(s.t.Path(u"k/3.rgn"_s))); // saved before it was handed over
        s.Reset();
        (void)s.surfaces.ShowSurface(3, false);
        QCOMPARE(s.messages.shown, QStringList{u"窓の整形に失敗しました。"_s});
        QCOMPARE(s.window.calls.mid(3), (QStringList{u"picture 5x5"_s, u"enable"_s}));
    }

    void outlinesTooLargeToCache() {
        Stage s;
        QImage board(100, 90, QImage::Format_RGB32); // 4,500 rectangles
        for (int y = 0; y < board.height(); ++y)
            for (int x = 0; x < board.width(); ++x)
                board.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        QVERIFY(board.save(s.t.Path(u"k/3.png"_s)));
        (void)s.surfaces.ShowSurface(3, false);
        (void)s.surfaces.ShowSurface(3, false);
        QCOMPARE(s.messages.shown, QStringList{u"ＣＧのサイズが大きすぎます。"_s});
        QCOMPARE(s.progress.calls.count(u"open"_s), 2); // built at every show
        QCOMPARE(s.window.shape.rects.size(), qsizetype(4500));
        QVERIFY(!QFile::exists(s.t.Path(u"k/3.rgn"_s)));
    }

    void otherWindowsTakeTheirPictureAtTheOrigin() {
        Stage s;
        RecordingWindow balloon;
        const QString path = FullPicturePath(s.t.ctx, s.t.ctx.skin.balloons[0].picture);
        QCOMPARE(s.surfaces.Shaper().ShapeWindowFromPicture(balloon, path), Outcome::Go);
        QCOMPARE(balloon.offset, QPoint(0, 0));
        QCOMPARE(balloon.shape.rects.size(), qsizetype(2));
        QVERIFY(balloon.enabled);
        balloon.calls.clear();
        QCOMPARE(s.surfaces.Shaper().ShapeWindowFromPicture(balloon, path), Outcome::Go);
        QCOMPARE(balloon.calls, (QStringList{u"resize 6x4"_s, u"disable"_s, u"shape 2"_s,
                                             u"picture 6x4"_s, u"enable"_s}));
        const QString missing = s.t.Path(u"k/none.png"_s);
        QCOMPARE(s.surfaces.Shaper().ShapeWindowFromPicture(balloon, missing), Outcome::EndProgram);
        QCOMPARE(s.messages.shown, QStringList{missing + u"が見つかりません。"_s});
    }

    void skinReload() {
        Stage s;
        RecordingSteps steps;
        steps.stage = &s;
        s.t.WriteText(u"other.skn"_s, u"[Skin]\nFolder=o\nSurface1=1.png\nSurface2=1.png\n"
                                      "Balloon0=b.png\n[Region]\nHead=1,2,345,6\n"_s);
        s.t.CopyIn(kData + u"region-l-shape.png"_s, u"o/1.png"_s);
        s.t.CopyIn(kData + u"region-two-identical-rows.png"_s, u"o/b.png"_s);
        s.t.ctx.settings.WriteSetting(u"General"_s, u"SkinFile"_s, u"other.skn"_s);
        s.t.ctx.flags.skinChangeRequest = true;
        s.t.ctx.flags.blinkHold = true;
        // A tick of the main timer inside the 500 ms wait must not start a second reload.
        s.t.clock.ScheduleIn(100, [&] { (void)s.surfaces.ReloadSkin(steps); });

        QCOMPARE(s.surfaces.ReloadSkin(steps), Outcome::Go);
        QCOMPARE(steps.calls, (QStringList{u"hit areas 345"_s, u"scripts at 500 ms"_s, u"fellow"_s,
                                           u"balloon"_s, u"message area"_s}));
        QCOMPARE(s.t.ctx.profile.skinFile, u"other.skn"_s);
        QCOMPARE(s.surfaces.OpenEyes().size(), QSize(5, 5));
        QCOMPARE(s.window.picture.size(), QSize(5, 5));
        QCOMPARE(steps.balloon.shape.rects.size(), qsizetype(2));
        QVERIFY(FindRegionCache(s.t.ctx, s.t.Path(u"o/1.png"_s)));
        QVERIFY(!s.t.ctx.flags.skinChangeRequest);
        QVERIFY(!s.t.ctx.flags.blinkHold);
        const QString log = s.t.log.Text();
        QVERIFY(log.indexOf(u"UserInfoLoad... Done"_s) >= 0);
        QVERIFY(log.indexOf(u"RegionFileCheck... Complete"_s) > log.indexOf(u"UserInfoLoad"_s));

        // A skin whose first surface is missing ends the program after its message.
        s.t.WriteText(u"other.skn"_s, u"[Skin]\nFolder=o\nSurface1=gone.png\n"_s);
        s.t.ctx.flags.skinChangeRequest = true;
        steps.calls.clear();
        QCOMPARE(s.surfaces.ReloadSkin(steps), Outcome::EndProgram);
        QVERIFY(steps.calls.isEmpty());
        QCOMPARE(s.messages.shown.last(), s.t.Path(u"o/gone.png"_s) + u"が見つかりません。"_s);
    }
};

QTEST_GUILESS_MAIN(TestCharacterSurfaces)
#include "test_character_surfaces.moc"
