#include "core/profile.h"
#include "core/settings.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/ini_file.h"
#include "platform/text_file.h"
#include "tools/trace_log.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

class TestProfile : public QObject {
    Q_OBJECT
    VirtualClock clock_;
    TraceLog log_{clock_};

private Q_SLOTS:
    void freshFolderEndsWithExactlyTheDefaults() {
        QTemporaryDir dir;
        IniStore ini;
        Settings settings(ini, dir.path());
        QCOMPARE(settings.AppFolder(), dir.path() + u'/');
        QCOMPARE(settings.AppFolderNoSlash(), dir.path());
        Profile p;
        QVERIFY(LoadUserInfo(settings, p, log_));
        QCOMPARE(p.MsgDispLimit, 300);
        QCOMPARE(p.TOMULimitTime, 3000);
        QCOMPARE(p.skinFile, u"kanami.skn"_s);
        QVERIFY(p.callName.isEmpty()); // the first start
        QFile f(dir.filePath(u"tomu.ini"_s));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[General]\r\nMsgDispLimit=300\r\nTOMULimitTime=3000\r\n"
                                         "SkinFile=kanami.skn\r\n"));
    }

    void repairsOnlyWhatIsMissingOrZero() {
        QTemporaryDir dir;
        QVERIFY(
            WriteCp932File(dir.filePath(u"tomu.ini"_s),
                           u"[User]\nName1=山田\nName2=花子\nCall=はなちゃん\n"
                           "[General]\nTOMULimitTime=abc\nMsgDispLimit=-7\nSkinFile=x.skn\n"_s));
        IniStore ini;
        Settings settings(ini, dir.path());
        Profile p;
        QVERIFY(LoadUserInfo(settings, p, log_));
        QCOMPARE(p.fullName, u"山田花子"_s);
        QCOMPARE(p.callName, u"はなちゃん"_s);
        QCOMPARE(p.TOMULimitTime, 3000);
        QCOMPARE(settings.ReadSetting(SettingKey::TOMULimitTime), u"3000"_s);
        QCOMPARE(p.MsgDispLimit, 300); // a negative time would never close a balloon
        QCOMPARE(settings.ReadSetting(SettingKey::MsgDispLimit), u"300"_s);
        QCOMPARE(p.skinFile, u"x.skn"_s);

        QVERIFY(SaveUserInfo(settings, u"a"_s, u"b"_s, u"c"_s));
        QVERIFY(LoadUserInfo(settings, p, log_));
        QCOMPARE(p.callName, u"c"_s);
        QCOMPARE(p.MsgDispLimit, 300);
    }

    void eachKeyIsReadByItsRule_data() {
        QTest::addColumn<SettingKey>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("reads");
        QTest::addColumn<bool>("repair");
        using K = SettingKey;
        QTest::newRow("OnTop missing") << K::OnTop << u""_s << u"True"_s << false;
        QTest::newRow("OnTop lower case") << K::OnTop << u"false"_s << u"True"_s << false;
        QTest::newRow("OnTop off") << K::OnTop << u"False"_s << u"False"_s << false;
        QTest::newRow("Hide lower case") << K::Hide << u"true"_s << u"False"_s << false;
        QTest::newRow("Silent on") << K::Silent << u"True"_s << u"True"_s << false;
        QTest::newRow("interval none") << K::TimerInterval << u"fast"_s << u"50"_s << false;
        QTest::newRow("interval negative") << K::TimerInterval << u"-20"_s << u"50"_s << false;
        QTest::newRow("interval rounded") << K::TimerInterval << u"20.5"_s << u"20"_s << false;
        QTest::newRow("idle zero") << K::TOMULimitTime << u"abc"_s << u"3000"_s << true;
        QTest::newRow("balloon negative") << K::MsgDispLimit << u"-7"_s << u"300"_s << true;
        QTest::newRow("skin empty") << K::SkinFile << u""_s << u"kanami.skn"_s << true;
        QTest::newRow("call empty") << K::Call << u""_s << u""_s << false;
    }
    void eachKeyIsReadByItsRule() {
        QFETCH(SettingKey, key);
        QFETCH(QString, stored);
        QFETCH(QString, reads);
        QFETCH(bool, repair);
        QTemporaryDir dir;
        IniStore ini;
        Settings s(ini, dir.path());
        QVERIFY(s.WriteSetting(key, stored));
        QCOMPARE(s.ReadSetting(key), stored);
        QCOMPARE(s.Value(key).text, reads);
        QCOMPARE(s.Value(key).repair, repair);
        QVERIFY(s.WriteSetting(key, std::nullopt));
        QCOMPARE(s.ReadSetting(key), QString());
    }

    void dataFilesFallBackWhenTheNamedOneIsMissing() {
        QTemporaryDir dir;
        IniStore ini;
        Settings s(ini, dir.path());
        QVERIFY(WriteCp932File(dir.filePath(u"mine.dat"_s), u"1,a"_s));
        QVERIFY(s.WriteSetting(SettingKey::Scenario, u"mine.dat"_s));
        QVERIFY(s.WriteSetting(SettingKey::IDRelation, u"gone.dat"_s));
        QCOMPARE(s.DataFile(SettingKey::Scenario), dir.filePath(u"mine.dat"_s));
        QCOMPARE(s.DataFile(SettingKey::IDRelation), dir.filePath(u"Str2ID.dat"_s));
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "test_profile.moc"
