// The ".rgn" cache layout, "Region.ini" and when a cache counts as valid.
#include "character/picture_file.h"
#include "character/region_cache.h"
#include "character/region_scanner.h"
#include "character_test_support.h"
#include "platform/codec.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

using namespace orvanel;
using namespace orvanel::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray Words(std::initializer_list<qint32> words) {
    QByteArray out;
    for (qint32 w : words) {
        char b[4];
        qToLittleEndian(w, b);
        out.append(b, 4);
    }
    return out;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

RegionData Rows(int count) {
    RegionData r;
    for (int i = 0; i < count; ++i)
        r.rects.append({i % 2, i, 5, i + 1});
    r.bounds = {0, 0, 5, count};
    return r;
}

const QByteArray kPlusSignCache = QByteArray::fromHex("20000000"
                                                      "01000000"
                                                      "03000000"
                                                      "30000000"
                                                      "01000000"
                                                      "01000000"
                                                      "06000000"
                                                      "06000000"
                                                      "03000000"
                                                      "01000000"
                                                      "04000000"
                                                      "03000000"
                                                      "01000000"
                                                      "03000000"
                                                      "06000000"
                                                      "04000000"
                                                      "03000000"
                                                      "04000000"
                                                      "04000000"
                                                      "06000000");

} // namespace

class TestRegionCache : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesThePlatformLayoutByteForByte() {
        TestContext t;
        QVERIFY(t.CopyIn(QStringLiteral(ORVANEL_TEST_DATA "/region-plus-sign.png"),
                         u"kanami/plus.png"_s));
        t.WriteText(u"kanami.skn"_s, u"[Skin]\nFolder=kanami\n"_s);
        const QString picture = t.Path(u"kanami/plus.png"_s);
        QImage image;
        QVERIFY(LoadPictureFile(image, picture));
        QCOMPARE(WriteRegionCache(t.ctx, picture, ScanRegion(image)), CacheWrite::Written);
        const QByteArray file = ReadAll(t.Path(u"kanami/plus.rgn"_s));
        QCOMPARE(file, kPlusSignCache);
        // ... and reads back to the same bytes and rectangles.
        const std::optional<RegionData> back = ReadRegionCacheFile(t.Path(u"kanami/plus.rgn"_s));
        QVERIFY(back);
        QCOMPARE(back->rects, ScanRegion(image).rects);
        QCOMPARE(SerializeRegion(*back), file);

        const QString index = t.Path(u"kanami/Region.ini"_s);
        const QString time = QFileInfo(picture).lastModified().toString(u"yyyy/MM/dd H:mm:ss"_s);
        QCOMPARE(ReadAll(index), codec::ToCp932(u"[plus]\r\nFileName="_s + picture +
                                                u"\r\nTime="_s + time + u"\r\n"_s));
    }

    void readsFilesOfOtherWritersAsTheyAre() {
        // nRgnSize larger than needed and bytes after the last rectangle are ignored; the
        // bounds are taken as written.
        const QByteArray file = Words({32, 1, 2, 64, 0, 0, 9, 9, 1, 2, 3, 4, 5, 6, 7, 8}) + "junk";
        const std::optional<RegionData> r = ParseRegion(file);
        QVERIFY(r);
        QCOMPARE(r->rects, (QList<RegionRect>{{1, 2, 3, 4}, {5, 6, 7, 8}}));
        QCOMPARE(r->bounds, (RegionRect{0, 0, 9, 9}));
        QVERIFY(ParseRegion(Words({32, 1, 0, 0, 0, 0, 0, 0}))->IsEmpty());
        QCOMPARE(
            ParseRegion(Words({32, 1, 4001, 4001 * 16, 0, 0, 1, 1}) + QByteArray(4001 * 16, '\1'))
                ->rects.size(),
            qsizetype(4001));
    }

    void unusableCachesAreNoCaches_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("short header") << Words({32, 1, 0, 0, 0, 0, 0}).left(31);
        QTest::newRow("fewer rectangles than nCount")
            << Words({32, 1, 3, 48, 0, 0, 4, 4, 0, 0, 1, 1, 1, 1, 2, 2});
        QTest::newRow("last rectangle cut") << kPlusSignCache.chopped(1);
        QTest::newRow("nCount over 4001")
            << Words({32, 1, 4002, 4002 * 16, 0, 0, 1, 1}) + QByteArray(4002 * 16, '\0');
        QTest::newRow("negative nCount") << Words({32, 1, -1, 0, 0, 0, 0, 0});
        QTest::newRow("other header size") << Words({40, 1, 0, 0, 0, 0, 0, 0, 0, 0});
        QTest::newRow("other type") << Words({32, 2, 0, 0, 0, 0, 0, 0});
        QTest::newRow("nRgnSize too small") << Words({32, 1, 1, 8, 0, 0, 1, 1, 0, 0, 1, 1});
    }
    void unusableCachesAreNoCaches() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!ParseRegion(bytes));
        QTemporaryDir dir;
        QFile f(dir.filePath(u"bad.rgn"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QVERIFY(!ReadRegionCacheFile(f.fileName()));
        QVERIFY(!ReadRegionCacheFile(dir.filePath(u"missing.rgn"_s)));
    }

    void sizeLimitOfTheOriginalBuffer() {
        TestContext t;
        const QString picture = t.Path(u"big.png"_s);
        QVERIFY(t.CopyIn(QStringLiteral(ORVANEL_TEST_DATA "/region-plus-sign.png"), u"big.png"_s));
        // 32 + 3997 * 16 = 63,984 bytes is cached; 3998 rectangles make 64,000 and are not.
        QCOMPARE(WriteRegionCache(t.ctx, picture, Rows(3998)), CacheWrite::TooLarge);
        QVERIFY(!QFile::exists(t.Path(u"big.rgn"_s)));
        QVERIFY(!QFile::exists(t.Path(u"Region.ini"_s)));
        QCOMPARE(WriteRegionCache(t.ctx, picture, Rows(3997)), CacheWrite::Written);
        QCOMPARE(ReadAll(t.Path(u"big.rgn"_s)).size(), 63984);
        QVERIFY(FindRegionCache(t.ctx, picture));
    }

    void baseNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("base");
        QTest::newRow("windows path") << u"C:\\TOMU\\kanami\\Image1.gif"_s << u"Image1"_s;
        QTest::newRow("mixed") << u"/home/u/orvanel/kanami\\surface3.png"_s << u"surface3"_s;
        QTest::newRow("two dots") << u"/p/pic.old.png"_s << u"pic.old"_s;
        QTest::newRow("dot only in folder") << u"/p/skin.v2/picture"_s << u"picture"_s;
    }
    void baseNames() {
        QFETCH(QString, path);
        QFETCH(QString, base);
        QCOMPARE(PictureBaseName(path), base);
    }

    void timesReadLeniently_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("time");
        const QDateTime t(QDate(2003, 4, 5), QTime(21, 8, 7), Qt::UTC);
        QTest::newRow("as written") << u"2003/04/05 21:08:07"_s << t;
        QTest::newRow("午後") << u"2003/04/05 午後 9:08:07"_s << t;
        QTest::newRow("PM after") << u"2003/04/05 9:08:07 PM"_s << t;
        QTest::newRow("12 AM") << u"2003/04/05 12:00:00 AM"_s
                               << QDateTime(QDate(2003, 4, 5), QTime(0, 0), Qt::UTC);
        QTest::newRow("kanji date") << u"2003年4月5日 21:08:07"_s << t;
        QTest::newRow("no date") << u"21:08:07"_s << QDateTime();
        QTest::newRow("no such day") << u"2003/02/30 1:00:00"_s << QDateTime();
    }
    void timesReadLeniently() {
        QFETCH(QString, text);
        QFETCH(QDateTime, time);
        const std::optional<QDateTime> parsed = ParseRegionTime(text);
        QCOMPARE(parsed.value_or(QDateTime()), time);
        if (parsed) QCOMPARE(ParseRegionTime(FormatRegionTime(*parsed)), parsed);
    }

    void cacheValidity() {
        TestContext t;
        t.WriteText(u"kanami.skn"_s, u"[Skin]\nFolder=kanami\n"_s);
        QVERIFY(
            t.CopyIn(QStringLiteral(ORVANEL_TEST_DATA "/region-plus-sign.png"), u"kanami/a.png"_s));
        const QString picture = t.Path(u"kanami/a.png"_s);
        const QString index = t.Path(u"kanami/Region.ini"_s);
        QVERIFY(!FindRegionCache(t.ctx, picture));
        QCOMPARE(WriteRegionCache(t.ctx, picture, Rows(2)), CacheWrite::Written);
        QVERIFY(FindRegionCache(t.ctx, picture));
        t.ini.Write(index, u"a", u"FileName", picture.toUpper()); // compared in lower case
        QVERIFY(FindRegionCache(t.ctx, picture));

        // A newer picture file under the same name.
        QFile file(picture);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime was = file.fileTime(QFileDevice::FileModificationTime);
        QVERIFY(file.setFileTime(was.addSecs(2), QFileDevice::FileModificationTime));
        QVERIFY(!FindRegionCache(t.ctx, picture));
        // Sub-second differences do not count.
        QVERIFY(file.setFileTime(QDateTime(was.date(), QTime(was.time().hour(), was.time().minute(),
                                                             was.time().second(), 900)),
                                 QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(FindRegionCache(t.ctx, picture));

        // The time as another regional format wrote it.
        const QDateTime local = QFileInfo(picture).lastModified();
        t.ini.Write(index, u"a", u"Time", local.toString(u"yyyy-M-d HH:mm:ss"_s));
        QVERIFY(FindRegionCache(t.ctx, picture));
        t.ini.Write(index, u"a", u"Time", u"");
        QVERIFY(!FindRegionCache(t.ctx, picture));
        QCOMPARE(WriteRegionCache(t.ctx, picture, Rows(2)), CacheWrite::Written);

        // Another picture with the same base name takes over the section.
        QVERIFY(t.CopyIn(QStringLiteral(ORVANEL_TEST_DATA "/picture-plus-sign.gif"),
                         u"kanami/more/a.gif"_s));
        const QString other = t.Path(u"kanami/more/a.gif"_s);
        QCOMPARE(WriteRegionCache(t.ctx, other, Rows(3)), CacheWrite::Written);
        QVERIFY(FindRegionCache(t.ctx, other));
        QVERIFY(!FindRegionCache(t.ctx, picture));
        QCOMPARE(RegionCachePath(t.ctx, other), t.Path(u"kanami/a.rgn"_s));

        // A vanished picture is never cached.
        QVERIFY(QFile::remove(other));
        QVERIFY(!FindRegionCache(t.ctx, other));
    }
};

QTEST_GUILESS_MAIN(TestRegionCache)
#include "test_region_cache.moc"
