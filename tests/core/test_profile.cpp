#include "core/profile.h"
#include "core/settings.h"
#include "platform/codec.h"
#include "platform/ini_file.h"
#include "platform/text_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

class TestProfile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshFolderEndsWithExactlyTheDefaults() {
        QTemporaryDir dir;
        IniStore ini;
        Settings settings(ini, dir.path());
        QCOMPARE(settings.AppFolder(), dir.path() + u'/');
        QCOMPARE(settings.AppFolderNoSlash(), dir.path());
        Profile p;
        LoadUserInfo(settings, p);
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
        LoadUserInfo(settings, p);
        QCOMPARE(p.fullName, u"山田花子"_s);
        QCOMPARE(p.callName, u"はなちゃん"_s);
        QCOMPARE(p.TOMULimitTime, 3000);
        QCOMPARE(settings.ReadSetting(u"General"_s, u"TOMULimitTime"_s), u"3000"_s);
        QCOMPARE(p.MsgDispLimit, -7); // negative numbers stay as typed
        QCOMPARE(p.skinFile, u"x.skn"_s);

        SaveUserInfo(settings, u"a"_s, u"b"_s, u"c"_s);
        LoadUserInfo(settings, p);
        QCOMPARE(p.callName, u"c"_s);
        QCOMPARE(p.MsgDispLimit, 300);
    }

    void switchesReadOnlyTheExactTexts() {
        QTemporaryDir dir;
        IniStore ini;
        Settings s(ini, dir.path());
        QVERIFY(ReadOnTop(s)); // missing key: on top
        s.WriteSetting(u"General"_s, u"OnTop"_s, u"false"_s);
        QVERIFY(ReadOnTop(s));
        s.WriteSetting(u"General"_s, u"OnTop"_s, u"False"_s);
        QVERIFY(!ReadOnTop(s));
        s.WriteSetting(u"General"_s, u"Hide"_s, u"true"_s);
        QVERIFY(!ReadTrueSwitch(s, u"Hide"_s));
        s.WriteSetting(u"General"_s, u"Hide"_s, u"True"_s);
        QVERIFY(ReadTrueSwitch(s, u"Hide"_s));
        for (const QString& bad : {u""_s, u"0"_s, u"fast"_s, u"-20"_s}) {
            s.WriteSetting(u"General"_s, u"TimerInterval"_s, bad);
            QCOMPARE(ReadTimerInterval(s), 50);
        }
        s.WriteSetting(u"General"_s, u"TimerInterval"_s, u"20.5"_s);
        QCOMPARE(ReadTimerInterval(s), 20);
        s.WriteSetting(u"General"_s, u"TimerInterval"_s, std::nullopt);
        QCOMPARE(s.ReadSetting(u"General"_s, u"TimerInterval"_s), QString());
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "test_profile.moc"
