// What is dropped on the character, into a real program folder: archives unpacked (and
// refused), dictionary items, other files opened, the updater's rule, and dropped text.
#include "talk_rig.h"

#include "platform/archive.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

struct DropRig : TalkRig {
    DropRig() {
        drops.hooks.confirm = [this](const QString& question) {
            asked.append(question);
            return answer;
        };
        drops.hooks.skinsArrived = [this] { ++skinsArrived; };
        drops.hooks.endNow = [this] { ++ended; };
    }
    QString Path(const QString& name) const { return dir.filePath(u"drop/"_s + name); }
    QString Make(const QString& name, const QByteArray& bytes = "x") const {
        const QString path = Path(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) qFatal("write");
        return path;
    }
    // An archive holding one file `entry`.
    QString Archive(const QString& name, const QString& entry) const {
        const QString source = QFileInfo(Make(u"source-"_s + name + u'/' + entry)).path();
        if (!WriteArchive(Path(name), source).Ok()) qFatal("archive");
        return Path(name);
    }
    void Drop(const QString& path) { drops.Drop({path}, std::nullopt); }

    DropReactions& drops = talk.Drops();
    QStringList asked;
    bool answer = true;
    int skinsArrived = 0;
    int ended = 0;
};

bool Executable(const QString& path) {
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class TestDropReactions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void archives() {
        DropRig rig;
        const QString folder = rig.ctx.settings.AppFolder();
        rig.Drop(rig.Archive(u"Neu.SKIN.LZH"_s, u"neu.skn"_s));
        QVERIFY(QFile::exists(folder + u"neu.skn"_s));
        QCOMPARE(rig.skinsArrived, 1);
        rig.Drop(rig.Archive(u"tool.addin.lzh"_s, u"tool.txt"_s));
        QVERIFY(QFile::exists(folder + u"tool.txt"_s));
        QCOMPARE(rig.skinsArrived, 1);
        QVERIFY(rig.log.Text().contains(u"SkinUpdate / Start Decompression... Complete"_s));
        QVERIFY(rig.log.Text().contains(u"Install AddIn / Start Decompression... Complete"_s));

        // An updater left from an earlier drop is gone before an empty archive is refused.
        QDir().mkpath(folder + u"UpdateTemp"_s);
        const QString old = folder + u"UpdateTemp/Update"_s;
        QVERIFY(QFile(old).open(QIODevice::WriteOnly) && Executable(old));
        rig.Drop(rig.Make(u"tomu.lzh"_s, {}));
        QVERIFY(rig.log.Text().contains(u"AutoUpdate / Start Decompression... Refused"_s));
        QVERIFY(!QFile::exists(old));
        // Unpacked, the updater has no execute permission: not started, not even asked.
        rig.Drop(rig.Archive(u"tomu.lzh"_s, u"Update"_s));
        QVERIFY(QFile::exists(old));
        QVERIFY(rig.log.Text().contains(u"Update: not executable"_s));
        QVERIFY(rig.asked.isEmpty() && rig.actionLog.isEmpty() && !rig.ended);
    }

    // Missing or unreadable: a clear line in the log each, and nothing merged or opened.
    void filesAndFolders() {
        DropRig rig;
        rig.Drop(rig.Path(u"talk.ini"_s));
        QVERIFY(rig.log.Text().contains(u"talk.ini not found"_s));
        QVERIFY(!rig.log.Text().contains(u"TalkEngine Update"_s));

        const QString locked = rig.Path(u"My TalkEngine"_s);
        QDir().mkpath(locked);
        QFile::setPermissions(locked, {});
        rig.Drop(locked);
        if (QFileInfo(locked).isReadable()) // root reads it all the same
            QVERIFY(rig.log.Text().contains(u"TalkEngine Update / from TalkEngine Folder"_s));
        else
            QVERIFY(rig.log.Text().contains(u"My TalkEngine cannot be read"_s));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        const QString picture = rig.Make(u"絵.png"_s);
        rig.drops.Drop({picture, rig.Path(u"gone.png"_s)}, std::nullopt);
        QCOMPARE(rig.actionLog, QStringList{u"SystemAction: OpenFile "_s + picture});
        QVERIFY(rig.log.Text().contains(u"gone.png not found"_s));
    }

    void runUpdater_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<bool>("link");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("started");
        QTest::newRow("Update") << u"Update"_s << true << false << true << true;
        QTest::newRow("Update.exe in capitals") << u"UPDATE.EXE"_s << true << false << true << true;
        QTest::newRow("cancelled") << u"Update"_s << true << false << false << false;
        QTest::newRow("not executable") << u"Update"_s << false << false << true << false;
        QTest::newRow("a link") << u"Update"_s << true << true << true << false;
        QTest::newRow("none") << QString() << false << false << true << false;
    }
    void runUpdater() {
        QFETCH(QString, name);
        QFETCH(bool, executable);
        QFETCH(bool, link);
        QFETCH(bool, started);
        DropRig rig;
        QFETCH(bool, answer);
        rig.answer = answer;
        const QString folder = rig.ctx.settings.AppFolder() + u"UpdateTemp/"_s;
        QDir().mkpath(folder);
        const QString target = link ? rig.Make(u"elsewhere"_s) : folder + name;
        if (!name.isEmpty()) QVERIFY(QFile(target).open(QIODevice::WriteOnly));
        if (executable) QVERIFY(Executable(target));
        if (link) QVERIFY(QFile::link(target, folder + name));

        QCOMPARE(rig.drops.RunUpdater(), started);
        QCOMPARE(rig.ended, int(started));
        QCOMPARE(rig.ctx.settings.Switch(SettingKey::UpDate), started);
        QCOMPARE(rig.actionLog.size(), int(started));
        if (started) QVERIFY(rig.asked.first().contains(folder + name));
        QCOMPARE(rig.asked.size(), int(executable && !link)); // asked only about a real one
        if (!started) QVERIFY(rig.player.Buffer().contains(folder + u"Update"_s));
    }

    void droppedText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("chars"); // -1: ignored
        QTest::newRow("web address") << u"http://example.org/"_s << -1;
        QTest::newRow("secure web address") << u"https://example.org/"_s << -1;
        QTest::newRow("script tags") << u"\\e%username$learn[x]"_s << 20;
        QTest::newRow("1 MB") << QString(1 << 20, u'あ') << int(kDroppedTextChars);
        QTest::newRow("pair not split") << QString(119, u'a') + u"😀"_s << 119;
        QTest::newRow("many lines") << u"1\n2\n3\n4\n5\n6\n7"_s << 17;
    }
    void droppedText() {
        QFETCH(QString, text);
        QFETCH(int, chars);
        const QString script = DroppedTextScript(text);
        QCOMPARE(script.isEmpty(), chars < 0);
        if (chars < 0) return;
        const QString said = script.section(u'「', 1).section(u'」', 0, 0);
        QCOMPARE(said.size(), chars);
        QCOMPARE(script.count(u'\\') + script.count(u'%') + script.count(u'$'), 1); // "\h" only
        QVERIFY(said.count(u"\r\n"_s) < 5);
        QVERIFY(!said.back().isHighSurrogate());
    }
};

QTEST_GUILESS_MAIN(TestDropReactions)
#include "test_drop_reactions.moc"
