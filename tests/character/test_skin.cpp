// Reading the skin file with its defaults, the hit areas, and loading picture files.
#include "character/hit_areas.h"
#include "character/picture_file.h"
#include "character/skin.h"
#include "character_test_support.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::test;
using namespace Qt::StringLiterals;

namespace {

const QString kData = QStringLiteral(ORVANEL_TEST_DATA "/");

// A program folder with pictures at `pictures` (relative paths) and the given skin text.
void MakeSkin(TestContext& t, const QString& skin, const QStringList& pictures) {
    QVERIFY(t.WriteText(u"kanami.skn"_s, skin));
    for (const QString& p : pictures)
        QVERIFY(t.CopyIn(kData + u"region-plus-sign.png"_s, QString(p).replace(u'\\', u'/')));
}

} // namespace

class TestSkin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void surfaceDefaults_data() {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QStringList>("surfaces");
        const QString d1 = u"kanami\\Image1.gif"_s, d2 = u"kanami\\Image2.gif"_s;
        QTest::newRow("no skin file") << QString() << QStringList{d1, d2, d1, d1, d1, d1, d1};
        // The defaults are relative to the program folder, not to the skin's folder.
        QTest::newRow("folder only")
            << u"[Skin]\nFolder=x\n"_s << QStringList{d1, d2, d1, d1, d1, d1, d1};
        QTest::newRow("surface 6 follows 5")
            << u"[Skin]\nFolder=x\nSurface1=a.png\nSurface5=e.png\n"_s
            << QStringList{u"x\\a.png"_s, d2,           u"x\\a.png"_s, u"x\\a.png"_s, u"x\\e.png"_s,
                           u"x\\e.png"_s, u"x\\a.png"_s};
        QTest::newRow("surface 6 follows 5's default")
            << u"[Skin]\nSurface1=a.png\nSurface2=b.png\nSurface6=\n"_s
            << QStringList{u"a.png"_s, u"b.png"_s, u"a.png"_s, u"a.png"_s,
                           u"a.png"_s, u"a.png"_s, u"a.png"_s};
        QTest::newRow("all given")
            << u"[Skin]\nFolder=s\\t\nSurface1=1.png\nSurface2=2.png\nSurface3=3.png\n"
               "Surface4=4.png\nSurface5=5.png\nSurface6=6.png\nSurface7=7.png\n"_s
            << QStringList{u"s\\t\\1.png"_s, u"s\\t\\2.png"_s, u"s\\t\\3.png"_s, u"s\\t\\4.png"_s,
                           u"s\\t\\5.png"_s, u"s\\t\\6.png"_s, u"s\\t\\7.png"_s};
    }
    void surfaceDefaults() {
        QFETCH(QString, skin);
        QFETCH(QStringList, surfaces);
        TestContext t;
        MakeSkin(t, skin, surfaces);
        RecordingMessages messages;
        QCOMPARE(LoadSurfaceList(t.ctx, messages), Outcome::Go);
        QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.shown.join(u'\n')));
        for (int n = 1; n <= 7; ++n)
            QCOMPARE(SurfacePath(t.ctx.skin, n), surfaces[n - 1]);
        QCOMPARE(SurfacePath(t.ctx.skin, 0), QString());
        QCOMPARE(SurfacePath(t.ctx.skin, 8), QString());
    }

    void missingSurfacePictures() {
        TestContext t;
        const QString skin = u"[Skin]\nFolder=k\nSurface1=1.png\nSurface2=2.png\nSurface3=3.png\n"
                             "Surface4=4.png\nSurface7=7.png\n"_s;
        MakeSkin(t, skin, {u"k/1.png"_s, u"k/2.png"_s});
        RecordingMessages messages;
        // Surfaces 3 to 7 missing: one message each, loading goes on.
        QCOMPARE(LoadSurfaceList(t.ctx, messages), Outcome::Go);
        QCOMPARE(messages.shown, (QStringList{t.Path(u"k/3.png"_s) + u"が見つかりません。"_s,
                                              t.Path(u"k/4.png"_s) + u"が見つかりません。"_s,
                                              t.Path(u"k/7.png"_s) + u"が見つかりません。"_s}));
        // Surface 1 missing ends the program after its message, before any other check.
        QVERIFY(QFile::remove(t.Path(u"k/1.png"_s)));
        messages.shown.clear();
        QCOMPARE(LoadSurfaceList(t.ctx, messages), Outcome::EndProgram);
        QCOMPARE(messages.shown, QStringList{t.Path(u"k/1.png"_s) + u"が見つかりません。"_s});
    }

    void skinInformation() {
        TestContext t;
        MakeSkin(t,
                 u"[Info]\nName=テスト\n[Skin]\nFolder=k\nBalloon0=b0.png\nBalloon1=b1.png\n"
                 "[Balloon0]\nTop=-300\nLeft=&H10\nBackColor=0\nForeColor=&HFF\n"
                 "MsgArea=300,300,3000,1500\n"
                 "[Balloon1]\nBackColor=&H0\n"
                 "[Name]\nHCallName=かなみ\nFCallName=モフ\n"_s,
                 {u"k/b0.png"_s, u"b1.png"_s});
        LoadSkinInfo(t.ctx);
        const SkinState& s = t.ctx.skin;
        QCOMPARE(s.name, u"テスト"_s);
        QCOMPARE(s.author, u"不明"_s);
        QCOMPARE(s.url, u"不明"_s);
        QCOMPARE(s.balloons[0].picture, u"k\\b0.png"_s);
        // Not in the skin folder: the bare value, relative to the program folder.
        QCOMPARE(s.balloons[1].picture, u"b1.png"_s);
        QCOMPARE(s.balloons[0].top, -300);
        QCOMPARE(s.balloons[0].left, 16);
        QCOMPARE(s.balloons[0].backColor, 0xFFFFFF); // 0 means "not given"
        QCOMPARE(s.balloons[0].foreColor, 255);
        QCOMPARE(s.balloons[0].msgArea, u"300,300,3000,1500"_s);
        QCOMPARE(s.balloons[1].backColor, 0xFFFFFF); // also when written in hexadecimal
        QCOMPARE(s.balloons[1].foreColor, 0xD4D0C8);
        QCOMPARE(s.balloons[1].top, 0);
        QCOMPARE(s.hSelfName, u"わたし"_s);
        QCOMPARE(s.hCallName, u"かなみ"_s);
        QCOMPARE(s.fCallName, u"モフ"_s);
        QCOMPARE(SkinFolderPrefix(t.ctx), u"k\\"_s);
    }

    void fellowFromSurface10() {
        TestContext t;
        t.WriteText(u"kanami.skn"_s, u"[Skin]\nFolder=k\nSurface10=fellow.png\n"_s);
        CheckFellowPresent(t.ctx);
        QVERIFY(t.ctx.skin.fellowPresent);
        QCOMPARE(t.ctx.skin.fellowPicture, u"k\\fellow.png"_s);
        // Another skin file named in the profile, without a fellow.
        t.WriteText(u"other.skn"_s, u"[Skin]\nFolder=k\n"_s);
        t.ctx.profile.skinFile = u"other.skn"_s;
        CheckFellowPresent(t.ctx);
        QVERIFY(!t.ctx.skin.fellowPresent);
    }

    void hitAreas_data() {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QList<QRect>>("areas");
        const QRect head(1500, 300, 2250, 1200);
        QTest::newRow("all keys, blanks after commas")
            << u"Head=1500, 300, 2250, 1200\nEyeL=1,2,3,4\nEyeR= 5 ,6,7,8\nNose=9,10,11,12\n"
               "Mouth=13,14,15,16\nCheekL=17,18,19,20\nCheekR=21,22,23,24\n"_s
            << QList<QRect>{head,
                            {1, 2, 3, 4},
                            {5, 6, 7, 8},
                            {9, 10, 11, 12},
                            {13, 14, 15, 16},
                            {17, 18, 19, 20},
                            {21, 22, 23, 24}};
        // Missing keys and numbers carry over from the previous key.
        QTest::newRow("carried over")
            << u"Head=1500,300,2250,1200\nNose=9,x,,\nMouth=13\nCheekR=1,2,3,4,5\n"_s
            << QList<QRect>{head,
                            head,
                            head,
                            {9, 300, 2250, 1200},
                            {13, 300, 2250, 1200},
                            {13, 300, 2250, 1200},
                            {1, 2, 3, 4}};
        QTest::newRow("first key missing starts from zero")
            << u"EyeL=5,5\n"_s
            << QList<QRect>{{0, 0, 0, 0}, {5, 5, 0, 0}, {5, 5, 0, 0}, {5, 5, 0, 0},
                            {5, 5, 0, 0}, {5, 5, 0, 0}, {5, 5, 0, 0}};
        QTest::newRow("numbers that are not whole")
            << u"Head=12abc,&H10,2.5,-30\n"_s
            << QList<QRect>{{0, 16, 2, 0}, {0, 16, 2, 0}, {0, 16, 2, 0}, {0, 16, 2, 0},
                            {0, 16, 2, 0}, {0, 16, 2, 0}, {0, 16, 2, 0}};
    }
    void hitAreas() {
        QFETCH(QString, region);
        QFETCH(QList<QRect>, areas);
        TestContext t;
        t.WriteText(u"kanami.skn"_s, u"[Region]\n"_s + region);
        const HitAreas placed = PlaceHitAreas(t.ctx);
        for (int i = 0; i < kHitAreaCount; ++i)
            QCOMPARE(placed.twips[size_t(i)], areas[i]);
    }

    void pictureFiles_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("as");
        QTest::addColumn<bool>("loads");
        QTest::newRow("png") << u"region-plus-sign.png"_s << u"p.png"_s << true;
        QTest::newRow("png, mixed-case extension")
            << u"region-plus-sign.png"_s << u"p.Png"_s << true;
        QTest::newRow("gif") << u"picture-plus-sign.gif"_s << u"p.gif"_s << true;
        QTest::newRow("bmp") << u"picture-plus-sign.bmp"_s << u"p.BMP"_s << true;
        QTest::newRow("jpeg") << u"picture-plus-sign.jpg"_s << u"p.jpg"_s << true;
        QTest::newRow("icon") << u"picture-plus-sign.ico"_s << u"p.ico"_s << true;
        // The content decides for other names: a PNG named .gif still loads.
        QTest::newRow("png named gif") << u"region-plus-sign.png"_s << u"p.gif"_s << true;
        // A name ending in .png must carry the signature, in any letter case.
        QTest::newRow("gif named png") << u"picture-gif-with-png-name.png"_s << u"p.png"_s << false;
        QTest::newRow("gif named PnG") << u"picture-plus-sign.gif"_s << u"p.PnG"_s << false;
        QTest::newRow("not a picture") << u"../character/CMakeLists.txt"_s << u"p.bmp"_s << false;
    }
    void pictureFiles() {
        QFETCH(QString, file);
        QFETCH(QString, as);
        QFETCH(bool, loads);
        QTemporaryDir dir;
        QVERIFY(QFile::copy(kData + file, dir.filePath(as)));
        QImage holder(3, 3, QImage::Format_RGB32);
        holder.fill(Qt::red);
        const QImage before = holder;
        QCOMPARE(LoadPictureFile(holder, dir.filePath(as)), loads);
        if (!loads) {
            QCOMPARE(holder, before); // the holder keeps its picture
            return;
        }
        QVERIFY(holder.width() >= 7 && holder != before);
        // Names are found in any letter case, as skins made on Windows write them.
        QVERIFY(LoadPictureFile(holder, dir.filePath(as.toUpper())));
    }

    void truncatedPngKeepsTheHolder() {
        QTemporaryDir dir;
        QFile in(kData + u"region-plus-sign.png"_s);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QFile out(dir.filePath(u"cut.png"_s));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(in.read(40)); // signature and header, no picture data
        out.close();
        QVERIFY(HasPngSignature(out.fileName()));
        QImage holder(2, 2, QImage::Format_RGB32);
        holder.fill(Qt::blue);
        QVERIFY(!LoadPictureFile(holder, out.fileName()));
        QCOMPARE(holder.size(), QSize(2, 2));
    }
};

QTEST_GUILESS_MAIN(TestSkin)
#include "test_skin.moc"
