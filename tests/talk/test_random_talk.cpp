#include "talk_rig.h"

#include "talk/talk_templates.h"

#include <QRegularExpression>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

using WordQueue = QMap<QString, QStringList>;
Q_DECLARE_METATYPE(WordQueue)
Q_DECLARE_METATYPE(ChoiceTopic)

namespace {

void QueueAll(TalkRig& rig, const WordQueue& queue) {
    for (auto it = queue.begin(); it != queue.end(); ++it)
        rig.words.Queue(it.key(), it.value());
}

} // namespace

class TestRandomTalk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The rare branch, the external-script branch and the template branch.
    void branches_data() {
        QTest::addColumn<int>("acLine");
        QTest::addColumn<bool>("fellow");
        QTest::addColumn<QStringList>("externalLines");
        QTest::addColumn<QList<double>>("randoms");
        QTest::addColumn<QString>("begins");
        QTest::addColumn<int>("talks"); // talk counter afterwards

        const QString question1 = u"\\h%username～。\\w8\\n今度の休みにはどこ行きたい？"_s;
        const QString battery = u"\\hバッテリの状態は、\\w5"_s;
        const QString template2 = u"\\h%msは\\w5%ms%en"_s;
        QTest::newRow("mains: learning question")
            << 1 << false << QStringList() << QList<double>{0.95, 0.1, 0.0} << question1 << 2;
        QTest::newRow("battery, r2 0.1: battery talk")
            << 0 << false << QStringList() << QList<double>{0.95, 0.1} << battery << 1;
        QTest::newRow("no fellow: a template, not an external script")
            << 1 << false << QStringList{u"\\hEXT"_s}
            << QList<double>{0.5, 0.01, TalkRig::R(2, 118)} << template2 << 1;
        QTest::newRow("fellow: an external script")
            << 1 << true << QStringList{u"\\hEXT"_s} << QList<double>{0.5, 0.049, 0.0}
            << u"\\hEXT"_s << 1;
        QTest::newRow("fellow without external scripts: a template")
            << 1 << true << QStringList() << QList<double>{0.5, 0.01, TalkRig::R(2, 118)}
            << template2 << 1;
    }
    void branches() {
        QFETCH(int, acLine);
        QFETCH(bool, fellow);
        QFETCH(QStringList, externalLines);
        QFETCH(QList<double>, randoms);
        QFETCH(QString, begins);
        TalkRig rig;
        rig.machine.power.acLine = acLine;
        rig.machine.power.batteryPercent = 80;
        rig.character.fellow = fellow;
        if (!externalLines.isEmpty()) {
            QVERIFY(WriteCp932File(rig.dir.filePath(u"script.txt"_s), externalLines.join(u'\n')));
            rig.scenario.LoadExternalScripts({}, u"script.txt"_s);
        }
        rig.Push(randoms);
        const QString script = rig.talk.MakeRandomTalk();
        QVERIFY2(script.startsWith(begins), qPrintable(script));
        QTEST(rig.ctx.flags.talkCount, "talks");
        QCOMPARE(rig.random.Remaining(), 0);
    }

    // Every number 1..118 is drawn and makes a script that plays to its end with every tag and
    // variable consumed; k comes from Int(r * 118) + 1.
    void everyTemplateIsReachableAndPlays() {
        for (int k = 1; k <= kTemplateCount; ++k) {
            TalkRig drawn;
            TalkRig direct;
            for (TalkRig* rig : {&drawn, &direct}) {
                rig->words.Queue(u"類似"_s, {u"ネコ,トラ"_s});
                rig->machine.drives = {{u"/"_s, DriveType::Fixed}};
            }
            drawn.random.Push({0.5, 0.5, TalkRig::R(k, kTemplateCount)});
            const QString script = drawn.talk.MakeRandomTalk();
            const std::optional<QString> expected = direct.talk.Maker().Template(k);
            QVERIFY2(expected && !expected->isEmpty(), qPrintable(QString::number(k)));
            QCOMPARE(script, *expected);
            // Two templates have no scope tag and go to the main balloon as they are.
            if (k != 25 && k != 116) QVERIFY2(script.startsWith(u'\\'), qPrintable(script));
            drawn.ClickIn(5000); // answers a click wait
            QVERIFY2(drawn.Play(script) > 0, qPrintable(script));
            static const QRegularExpression leftover(u"\\\\[a-z_]|[%$][a-zA-Z]"_s);
            for (const QString& shown : drawn.mainBalloon.messages + drawn.fellowBalloon.messages)
                QVERIFY2(!leftover.match(shown).hasMatch(), qPrintable(shown));
        }
    }

    // The parts a template chooses by its own draws or by the word it was given.
    void composedTemplates_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<WordQueue>("queue");
        QTest::addColumn<QList<double>>("randoms");
        QTest::addColumn<QString>("part");
        QTest::addColumn<QList<int>>("surfaces");
        QTest::newRow("8, a word in い joins directly")
            << 8 << WordQueue{{u"状態"_s, {u"眠い"_s}}} << QList<double>{} << u"は眠い証拠"_s
            << QList<int>{};
        QTest::newRow("77 youngest") << 77 << WordQueue{} << QList<double>{0.0, TalkRig::R(2, 3)}
                                     << u"年齢 : 1歳"_s << QList<int>{};
        QTest::newRow("106 sixth grade")
            << 106 << WordQueue{} << QList<double>{0.99999} << u"小6の時"_s << QList<int>{};
        QTest::newRow("114 a drink")
            << 114 << WordQueue{{u"飲み物"_s, {u"お茶"_s}}} << QList<double>{TalkRig::R(1, 3)}
            << u"お茶をかける"_s << QList<int>{};
        QTest::newRow("114 the oven")
            << 114 << WordQueue{} << QList<double>{TalkRig::R(2, 3), 0.99999} << u"レンジで6分"_s
            << QList<int>{};
        QTest::newRow("116 the first two parts")
            << 116 << WordQueue{{u"類似"_s, {u"ネコ,トラ,ライオン"_s}}} << QList<double>{}
            << u"ネコとトラって"_s << QList<int>{};
        QTest::newRow("58 pleased")
            << 58 << WordQueue{} << QList<double>{} << u"%vs"_s << QList<int>{3};
        QTest::newRow("85 stern") << 85 << WordQueue{} << QList<double>{} << u"%ch3号機"_s
                                  << QList<int>{7};
    }
    void composedTemplates() {
        QFETCH(int, k);
        QFETCH(WordQueue, queue);
        QFETCH(QList<double>, randoms);
        QFETCH(QString, part);
        TalkRig rig;
        QueueAll(rig, queue);
        rig.Push(randoms);
        const QString made = rig.talk.Maker().Template(k).value_or(u"(none)"_s);
        QVERIFY2(made.contains(part), qPrintable(made));
        QTEST(rig.character.surfaces, "surfaces");
        QCOMPARE(rig.random.Remaining(), 0);
    }

    // A 類似 word without a second part cannot make template 116: another template speaks.
    void similarWordWithoutCommaFallsBack_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<double>("second");
        QTest::addColumn<int>("expected");
        QTest::newRow("no comma, 2") << u"ネコ"_s << TalkRig::R(2, 117) << 2;
        QTest::newRow("empty second part, past 116") << u"ネコ,"_s << TalkRig::R(116, 117) << 117;
    }
    void similarWordWithoutCommaFallsBack() {
        QFETCH(QString, word);
        QFETCH(double, second);
        QFETCH(int, expected);
        TalkRig rig;
        TalkRig other;
        rig.words.Queue(u"類似"_s, {word});
        other.words.Queue(u"類似"_s, {word});
        QVERIFY(!other.talk.Maker().Template(116).has_value());
        rig.random.Push({0.5, 0.5, TalkRig::R(116, 118), second});
        QCOMPARE(rig.talk.MakeRandomTalk(), TalkRig().talk.Maker().Template(expected).value());
    }

    void choiceTemplates_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QList<double>>("randoms");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("top");
        QTest::addColumn<ChoiceTopic>("topic");
        QTest::newRow("7") << 7 << QList<double>{TalkRig::R(3, 3), TalkRig::R(2, 2)}
                           << QStringList{u"言うまでもなく"_s, u"そんなことはない。"_s} << 1080
                           << ChoiceTopic::NewsEvent;
        QTest::newRow("27 two verbs") << 27 << QList<double>{} << QStringList{u"散歩"_s, u"昼寝"_s}
                                      << 1440 << ChoiceTopic::ExpYesNo;
        QTest::newRow("49") << 49 << QList<double>{0.9, 0.9}
                            << QStringList{u"大賛成"_s, u"別にいいんじゃない"_s} << 1440
                            << ChoiceTopic::MadeByChar;
        QTest::newRow("93") << 93 << QList<double>{0.0, 0.9}
                            << QStringList{u"うん"_s, u"ぜんぜん"_s} << 960 << ChoiceTopic::YesNo;
    }
    void choiceTemplates() {
        QFETCH(int, k);
        QFETCH(QList<double>, randoms);
        QFETCH(int, top);
        TalkRig rig;
        rig.words.Queue(u"動詞(単純)"_s, {u"散歩"_s, u"昼寝"_s});
        rig.Push(randoms);
        QVERIFY(rig.talk.Maker().Template(k).has_value());
        QTEST(rig.mainBalloon.choiceWords, "answers");
        QCOMPARE(rig.mainBalloon.choicePos, std::make_pair(120, top));
        QTEST(rig.talk.QuestionsPart().PendingTopic(), "topic");
        QCOMPARE(rig.play.Pending(), FinishAction::SelMsg);
    }

    // The choice that a template names survives the start of its own script: played to the
    // end, the question brings up the choice panel and holds the balloon.
    void randomTalkOffersItsChoiceAfterTheQuestion() {
        TalkRig rig;
        rig.random.Push({0.5, 0.5, TalkRig::R(93, 118), 0.0, 0.0});
        rig.talk.RandomTalk();
        QVERIFY(rig.mainBalloon.visible);
        QCOMPARE(rig.play.Pending(), FinishAction::SelMsg);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        rig.RunToEnd();
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        QVERIFY(rig.ctx.flags.balloonHold);
        QCOMPARE(rig.talk.QuestionsPart().PendingTopic(), ChoiceTopic::YesNo);
    }

    // A choice left pending by an earlier question is not carried into a talk without one.
    void randomTalkDropsAnEarlierChoice() {
        TalkRig rig;
        rig.play.WaitThen(FinishAction::SelMsg);
        rig.random.Push({0.5, 0.5, TalkRig::R(2, 118)});
        rig.talk.RandomTalk();
        QCOMPARE(rig.play.Pending(), FinishAction::None);
    }

    void randomTalkStaysQuiet_data() {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("hold");
        QTest::addColumn<QList<int>>("surfaces");
        QTest::newRow("silent") << true << false << QList<int>{};
        QTest::newRow("balloon held") << false << true << QList<int>{1};
    }
    void randomTalkStaysQuiet() {
        QFETCH(bool, silent);
        QFETCH(bool, hold);
        QFETCH(QList<int>, surfaces);
        TalkRig rig;
        rig.ctx.flags.silent = silent;
        rig.ctx.flags.balloonHold = hold;
        rig.talk.RandomTalk();
        QVERIFY(!rig.player.IsRunning());
        QCOMPARE(rig.character.surfaces, surfaces);
        QCOMPARE(rig.ctx.flags.talkCount, 0);
        QCOMPARE(rig.ctx.flags.balloonHold, hold);
    }

    // Surface 1 without hold first, then the talk; the counter goes up for the talk played
    // and for the talk made.
    void randomTalkPlays() {
        TalkRig rig;
        rig.ctx.flags.talkCount = 5;
        rig.random.Push({0.5, 0.5, TalkRig::R(89, 118)});
        rig.talk.RandomTalk();
        QCOMPARE(rig.character.surfaces, (QList<int>{1, 7}));
        QVERIFY(rig.journal.contains(u"kanami.ShowSurface 1 free"_s));
        QVERIFY(rig.player.IsRunning());
        QCOMPARE(rig.ctx.flags.talkCount, 7);
        rig.RunToEnd();
        QVERIFY(rig.mainBalloon.message.contains(u"商品#1"_s));
    }
};

QTEST_GUILESS_MAIN(TestRandomTalk)
#include "test_random_talk.moc"
