#include "talk_rig.h"

#include "platform/archive.h"
#include "platform/codec.h"
#include "platform/lha_format.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(DropKind)

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A dropped file as someone would have made it on the original platform: CP932, CR LF.
QString Write(TalkRig& rig, const QString& name, const QString& text) {
    const QString path = rig.dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    if (!WriteCp932File(path, text)) qFatal("cannot write %s", qPrintable(path));
    return path;
}

const QString kTalkIni = u"[人物]\nPN=6\n1=ALICE\n2=\" \"\n3=\n4=dave\n5=\"  \"\n6=Bob\n"
                         u"[場所]\nPN=2\n1=東京\n2=大阪\n"_s;

} // namespace

class TestBulkUpdate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dropKinds_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<DropKind>("kind");
        QTest::newRow("skin in capitals")
            << u"/tmp/Kanami.SKIN.LZH"_s << false << DropKind::SkinArchive;
        QTest::newRow("add-in") << u"/tmp/x.addin.lzh"_s << false << DropKind::AddInArchive;
        QTest::newRow("export archive") << u"/home/u/Desktop/山田太郎.260101.TalkEngine.lzh"_s
                                        << false << DropKind::DictionaryArchive;
        QTest::newRow("talk.ini with more after it")
            << u"/tmp/TALK.INI.bak"_s << false << DropKind::TalkIni;
        QTest::newRow("NG list") << u"/tmp/ngword.ini"_s << false << DropKind::NGWords;
        QTest::newRow("folder") << u"/tmp/my_talkengine_2"_s << true << DropKind::DictionaryFolder;
        QTest::newRow("file named like a folder")
            << u"/tmp/TalkEngine"_s << false << DropKind::Other;
        // The order decides: an update archive inside a dictionary folder is an update.
        QTest::newRow("order") << u"/tmp/TalkEngine/tomu.lzh"_s << false << DropKind::ProgramUpdate;
    }
    void dropKinds() {
        QFETCH(QString, path);
        QFETCH(bool, folder);
        QTEST(ClassifyDrop(path, folder), "kind");
    }

    // Case duplicates, blanks and words already known, merged from a dropped talk.ini into
    // real category files; each category comes out sorted whatever its order was.
    void mergeFromTalkIni() {
        TalkRig rig;
        rig.Category(u"人物"_s, {u"Carol"_s, u"alice"_s, u"Bob"_s});
        const QString path = Write(rig, u"drop/talk.ini"_s, kTalkIni);
        QVERIFY(rig.talk.HandleDrop(path));
        // The two blanks stay a word (the file reads it back trimmed, as the original did).
        QCOMPARE(rig.dictionary.WordCount(u"人物"_s), 5);
        QCOMPARE(rig.Words(u"人物"_s).mid(1),
                 (QStringList{u"ALICE"_s, u"Bob"_s, u"Carol"_s, u"dave"_s}));
        QVERIFY(Bytes(rig.TalkFile(u"人物"_s)).contains("1=  \r\n"));
        QCOMPARE(rig.Words(u"場所"_s), (QStringList{u"大阪"_s, u"東京"_s}));
        QCOMPARE(rig.talk.Bulk().AddedCount(), 4);
        QCOMPARE(rig.player.Buffer(), u"\\h終了しました。\r\n\r\n4件の追加登録がありました。"_s);
        QVERIFY(rig.log.Text().contains(u"TalkEngine Update / from talk.ini Complete"_s));
        QVERIFY(rig.mainBalloon.messages.contains(u"只今 [ 人物 ] を更新中。"_s));
        QVERIFY(rig.mainBalloon.messages.contains(u"只今 [ 挨拶(深夜) ] を更新中。"_s));
        // Dropped again, nothing is new.
        QVERIFY(rig.talk.HandleDrop(path));
        QCOMPARE(rig.talk.Bulk().AddedCount(), 0);
        QCOMPARE(rig.dictionary.WordCount(u"人物"_s), 5);
    }

    // Keys that are not word positions survive; a "PN" of two billion costs nothing.
    void mergeKeepsOtherKeys() {
        TalkRig rig;
        QDir().mkpath(rig.dir.filePath(u"TalkEngine"_s));
        QVERIFY(WriteCp932File(rig.TalkFile(u"人物"_s),
                               u"; my people\n[人物]\nPN=3\n1=a\n3=c\n7=seven\nnote=keep me\n"_s));
        const QString path =
            Write(rig, u"talk.ini"_s, u"[人物]\nPN=2000000000\n1=b\n1999999999=z\n"_s);
        rig.talk.Bulk().UpdateFromTalkIni(path);
        QCOMPARE(rig.Words(u"人物"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"z"_s}));
        QCOMPARE(rig.dictionary.ReadTalk(u"人物"_s, 7), u"seven"_s);
        QCOMPARE(rig.dictionary.ReadTalk(u"人物"_s, u"note"_s), u"keep me"_s);
        QVERIFY(Bytes(rig.TalkFile(u"人物"_s))
                    .startsWith(codec::ToCp932(u"; my people\r\n[人物]\r\nPN=4\r\n1=a\r\n"_s)));
        QCOMPARE(rig.talk.Bulk().AddedCount(), 1);
    }

    // An NG word goes wherever the category holds it, in any letter case; an NG word the
    // category does not hold is not added; the category's own duplicates are not NG words.
    void ngWordsInTwoCategories() {
        TalkRig rig;
        rig.Category(u"人物"_s, {u"Bob"_s, u"ポチ"_s, u"Alice"_s, u"bob"_s});
        rig.Category(u"動物"_s, {u"ポチ"_s, u"イヌ"_s});
        rig.Category(u"場所"_s, {u"東京"_s});
        const QString path =
            Write(rig, u"NGWord.ini"_s,
                  u"[人物]\nPN=3\n1=alice\n2=ポチ\n3=Zed\n[動物]\nPN=1\n1=ポチ\n"_s);
        QVERIFY(rig.talk.HandleDrop(path));
        QCOMPARE(rig.Words(u"人物"_s), (QStringList{u"Bob"_s, u"bob"_s}));
        QCOMPARE(rig.Words(u"動物"_s), QStringList{u"イヌ"_s});
        QCOMPARE(rig.Words(u"場所"_s), QStringList{u"東京"_s});
        QCOMPARE(rig.talk.Bulk().NGCount(), 3);
        QCOMPARE(
            rig.player.Buffer(),
            u"\\h終了しました。\r\n\r\n3件のNGワードがありました。\\n現在の単語数は･･･\\w8\\n4語です。"_s);
        QVERIFY(rig.mainBalloon.messages.contains(u"只今 [ 動物 ] を検査中。"_s));
        // The NG check logs nothing.
        QVERIFY(!rig.log.Text().contains(u"TalkEngine Update"_s));
    }

    void mergeFromFolder() {
        TalkRig rig;
        rig.Category(u"動詞(単純)"_s, {u"散歩"_s});
        Write(rig, u"Friend_TalkEngine/動詞(単純).ini"_s,
              u"[動詞(単純)]\nPN=2\n1=昼寝\n2=散歩\n"_s);
        // Names written on the original platform in other letter case are found.
        Write(rig, u"Friend_TalkEngine/HPタイプ.INI"_s, u"[HPタイプ]\nPN=1\n1=日記サイト\n"_s);
        Write(rig, u"Friend_TalkEngine/場所.ini"_s, u"[よそ]\nPN=1\n1=どこか\n"_s);
        QVERIFY(rig.talk.HandleDrop(rig.dir.filePath(u"Friend_TalkEngine"_s)));
        QCOMPARE(rig.Words(u"動詞(単純)"_s), (QStringList{u"散歩"_s, u"昼寝"_s}));
        QCOMPARE(rig.Words(u"HPタイプ"_s), QStringList{u"日記サイト"_s});
        QCOMPARE(rig.dictionary.WordCount(u"場所"_s), 0);
        QCOMPARE(rig.talk.Bulk().AddedCount(), 2);
        QVERIFY(
            rig.log.Text().contains(u"TalkEngine Update / from TalkEngine Folder... Complete"_s));
    }

    // The pass lets events run; a second dictionary drop arriving then is refused, the first
    // goes on to its end.
    void secondDropDuringAPass() {
        TalkRig rig;
        const QString first = Write(rig, u"a/talk.ini"_s, u"[人物]\nPN=1\n1=first\n"_s);
        const QString second = Write(rig, u"b/talk.ini"_s, u"[人物]\nPN=1\n1=second\n"_s);
        bool ranDuring = false;
        bool handled = false;
        rig.clock.ScheduleIn(0, [&] {
            ranDuring = rig.talk.Bulk().IsRunning();
            handled = rig.talk.HandleDrop(second);
        });
        QVERIFY(rig.talk.HandleDrop(first));
        QVERIFY(ranDuring);
        QVERIFY(handled);
        QCOMPARE(rig.Words(u"人物"_s), QStringList{u"first"_s});
        QVERIFY(rig.log.Text().contains(u"refused"_s));
        QVERIFY(!rig.talk.Bulk().IsRunning());
        QVERIFY(rig.talk.HandleDrop(second));
        QCOMPARE(rig.Words(u"人物"_s), (QStringList{u"first"_s, u"second"_s}));
    }

    // An archive as the export writes it is restored into an emptied "TEtmp" and merged from
    // there; one whose entry climbs out is refused, logged with the entry, said, not merged.
    void archiveDrop() {
        TalkRig rig;
        Write(rig, u"export/人物.ini"_s, u"[人物]\nPN=1\n1=届いた人\n"_s);
        const QString archive = rig.dir.filePath(u"me.260101.TalkEngine.lzh"_s);
        QVERIFY(WriteArchive(archive, rig.dir.filePath(u"export"_s)).Ok());
        Write(rig, u"TEtmp/場所.ini"_s, u"[場所]\nPN=1\n1=古い残り\n"_s);
        QVERIFY(rig.talk.HandleDrop(archive));
        QCOMPARE(rig.Words(u"人物"_s), QStringList{u"届いた人"_s});
        QCOMPARE(rig.dictionary.WordCount(u"場所"_s), 0);
        QVERIFY(rig.log.Text().contains(u"TalkEngine Update / LZH Decompression... Complete"_s));

        lha::Header h;
        h.method = lha::kStoredMethod;
        h.name = codec::ToCp932(u"..\\人物.ini"_s);
        const QByteArray data = codec::ToCp932(u"[人物]\r\nPN=1\r\n1=悪い人\r\n"_s);
        h.packedSize = h.originalSize = data.size();
        h.crc = lha::Crc16(data);
        const QString hostile = rig.dir.filePath(u"evil.TalkEngine.lzh"_s);
        QFile f(hostile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(lha::Level2Header(h) + data + QByteArray(1, '\0'));
        f.close();
        QVERIFY(rig.talk.HandleDrop(hostile));
        QVERIFY(rig.log.Text().contains(
            u"LZH Decompression... Refused: \"..\\人物.ini\": climbs out"_s));
        QCOMPARE(rig.player.Buffer(), u"\\hこの圧縮ファイルは展開できませんでした。"_s);
        QCOMPARE(rig.Words(u"人物"_s), QStringList{u"届いた人"_s});
        QVERIFY(!QFile::exists(rig.dir.filePath(u"人物.ini"_s)));
    }

    void otherDropsAreNotTaken() {
        TalkRig rig;
        const QString path = Write(rig, u"picture.png"_s, u"x"_s);
        QVERIFY(!rig.talk.HandleDrop(path));
        QVERIFY(!rig.talk.HandleDrop(rig.dir.filePath(u"x.skin.lzh"_s)));
        QVERIFY(!rig.player.IsRunning());
    }
};

QTEST_GUILESS_MAIN(TestBulkUpdate)
#include "test_bulk_update.moc"
