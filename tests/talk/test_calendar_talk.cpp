#include "talk_rig.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

const QString kDaymes = u"0101:元日\n"
                        u"1500:給料日,月の半ば\n"
                        u"0115:小正月\n"
                        u"0303:\n"
                        u"0505:こどもの日\n"
                        u"これはコロンのない行\n"
                        u"0505:端午の節句\n"_s;

const QString kFlowers = u"0503:スズラン:幸福が帰る,カーネーション:母の愛:感謝\n"
                         u"0504:名無しの花\n"_s;

} // namespace

class TestCalendarTalk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void greetingByTheHour_data() {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("category");
        QTest::newRow("03:59") << QTime(3, 59) << u"挨拶(深夜)"_s;
        QTest::newRow("04:00") << QTime(4, 0) << u"挨拶(早朝)"_s;
        QTest::newRow("18:59") << QTime(18, 59) << u"挨拶(夕方)"_s;
        QTest::newRow("19:00") << QTime(19, 0) << u"挨拶(夜)"_s;
    }
    void greetingByTheHour() {
        QFETCH(QTime, time);
        QFETCH(QString, category);
        TalkRig rig;
        rig.clock.SetNow(QDateTime(QDate(2026, 3, 1), time));
        QCOMPARE(rig.talk.GreetingScript(), u"\\h"_s + category + u"#1"_s);
        QCOMPARE(rig.words.calls, QStringList{u"G:"_s + category});
    }

    void hourlyTalk() {
        // Evening hours are told on the twelve-hour clock, except the last one.
        QCOMPARE(TalkEngine::HourlyTalk(19), u"7時だよ～。\\w8\\n"_s);
        QVERIFY(TalkEngine::HourlyTalk(13).startsWith(u"1時だよ～。"_s));
        QCOMPARE(TalkEngine::HourlyTalk(23), u"11時です。\\w8テレホタイム開始！"_s);
        QVERIFY(TalkEngine::HourlyTalk(24).isEmpty());
    }

    void todayDate_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("text");
        QTest::newRow("平成") << 1 << u"平成14年5月3日、金曜日"_s;
        QTest::newRow("明治") << 4 << u"明治135年5月3日、金曜日"_s;
        QTest::newRow("western 5") << 5 << u"2002年5月3日、金曜日"_s;
    }
    void todayDate() {
        QFETCH(int, k);
        TalkRig rig;
        rig.clock.SetNow(QDateTime(QDate(2002, 5, 3), QTime(9, 0)));
        rig.random.Push(TalkRig::R(k, 6));
        QTEST(rig.talk.TodayDateText(), "text");
    }

    void dayMessage_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QList<double>>("randoms");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::newRow("yearly only")
            << QDate(2026, 1, 1) << QList<double>{0.0} << u"元日"_s << u"１年ぶり"_s;
        QTest::newRow("monthly only on the 15th")
            << QDate(2026, 2, 15) << QList<double>{0.9} << u"月の半ば"_s << u"１ヶ月ぶり"_s;
        QTest::newRow("both, r 0.8: yearly")
            << QDate(2026, 1, 15) << QList<double>{0.8, 0.0} << u"小正月"_s << u"１年ぶり"_s;
        QTest::newRow("both, r above 0.8: monthly")
            << QDate(2026, 1, 15) << QList<double>{0.81, 0.0} << u"給料日"_s << u"１ヶ月ぶり"_s;
        QTest::newRow("empty value: an ordinary day")
            << QDate(2026, 3, 3) << QList<double>{} << u"普通の日"_s << u"久しぶり"_s;
        QTest::newRow("the last of two lines counts")
            << QDate(2026, 5, 5) << QList<double>{0.0} << u"端午の節句"_s << u"１年ぶり"_s;
    }
    void dayMessage() {
        QFETCH(QDate, date);
        QFETCH(QList<double>, randoms);
        TalkRig rig;
        QVERIFY(WriteCp932File(rig.dir.filePath(u"daymes.dat"_s), kDaymes));
        rig.Push(randoms);
        QString k = u"unchanged"_s;
        QTEST(rig.talk.DayMessage(date, k), "name");
        QTEST(k, "kind");
        QCOMPARE(rig.random.Remaining(), 0);
    }

    // The file is read at every call: a file that appears later is seen at once.
    void dayMessageWithoutFile() {
        TalkRig rig;
        QString kind = u"unchanged"_s;
        QCOMPARE(rig.talk.DayMessage(QDate(2026, 1, 1), kind),
                 u"記念日データファイルが見つかりません"_s);
        QCOMPARE(kind, u"unchanged"_s);
        QVERIFY(WriteCp932File(rig.dir.filePath(u"DAYMES.DAT"_s), kDaymes));
        QCOMPARE(rig.talk.DayMessage(QDate(2026, 1, 1), kind), u"元日"_s);
    }

    void flowerOfDay_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("file");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("language");
        QTest::newRow("first entry")
            << QDate(2026, 5, 3) << true << 0.0 << u"スズラン"_s << u"幸福が帰る"_s;
        QTest::newRow("split at the first colon")
            << QDate(2026, 5, 3) << true << 0.9 << u"カーネーション"_s << u"母の愛:感謝"_s;
        QTest::newRow("date missing")
            << QDate(2026, 5, 5) << true << 0.0 << u"現在調査中"_s << u"現在調査中"_s;
        QTest::newRow("file missing") << QDate(2026, 5, 3) << false << 0.0
                                      << u"花言葉データファイルが見つかりません"_s << QString();
    }
    void flowerOfDay() {
        QFETCH(QDate, today);
        QFETCH(bool, file);
        QFETCH(double, r);
        QFETCH(QString, name);
        QFETCH(QString, language);
        TalkRig rig;
        rig.clock.SetNow(QDateTime(today, QTime(8, 0)));
        if (file) QVERIFY(WriteCp932File(rig.dir.filePath(u"flower.dat"_s), kFlowers));
        rig.random.Push(r);
        const FlowerRecord f = rig.talk.FlowerOfDay();
        QCOMPARE(f.name, name);
        QCOMPARE(f.language, language);
    }
};

QTEST_GUILESS_MAIN(TestCalendarTalk)
#include "test_calendar_talk.moc"
