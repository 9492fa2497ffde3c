#include "talk_rig.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ChoiceTopic)
Q_DECLARE_METATYPE(AnswerKind)

class TestQuestions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reactions_data() {
        QTest::addColumn<ChoiceTopic>("topic");
        QTest::addColumn<int>("choice");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("said"); // "" when nothing is played
        QTest::addColumn<QList<int>>("surfaces");
        QTest::addColumn<QString>("action");

        const auto R = TalkRig::R;
        QTest::newRow("PRAISE yes") << ChoiceTopic::Praise << 0 << R(2, 3)
                                    << u"\\hそうでなくちゃ。"_s << QList<int>{3} << QString();
        QTest::newRow("PRAISE no")
            << ChoiceTopic::Praise << 1 << R(3, 3) << u"\\hちっ。"_s << QList<int>{4} << QString();
        QTest::newRow("DELDUST yes") << ChoiceTopic::DelDust << 0 << 0.0 << u"\\h任務完了～。"_s
                                     << QList<int>{3} << u"SystemAction: EmptyTrash"_s;
        QTest::newRow("DELDUST no")
            << ChoiceTopic::DelDust << 1 << R(3, 3) << u"\\hせっかく気を利かせてやったのに。"_s
            << QList<int>{4} << QString();
        QTest::newRow("ExitWin yes")
            << ChoiceTopic::ExitWin << 0 << 0.0
            << u"\\h今回の起動時間は、0時間0分0秒でした。\r\n\r\n終了時#1"_s << QList<int>{}
            << u"SystemAction: PowerOff"_s;
        QTest::newRow("ExitWin no") << ChoiceTopic::ExitWin << 1 << R(1, 3)
                                    << u"\\hなーんだ。拍子抜け。"_s << QList<int>{3} << QString();
        QTest::newRow("RecDel yes")
            << ChoiceTopic::RecDel << 0 << 0.0 << u"\\h証拠隠滅、\\w5完了しました！"_s
            << QList<int>{} << u"SystemAction: ClearRecentDocuments"_s;
        QTest::newRow("RecDel no 1")
            << ChoiceTopic::RecDel << 1 << R(1, 3) << u"\\h別にいいじゃん。あんまり使わないし。"_s
            << QList<int>{4} << QString();
        QTest::newRow("ReqAcp yes 5: a nod")
            << ChoiceTopic::ReqAcp << 0 << R(5, 5) << QString() << QList<int>{3} << QString();
        QTest::newRow("ExpYesNo no") << ChoiceTopic::ExpYesNo << 1 << R(2, 3) << u"\\hそっか。"_s
                                     << QList<int>{} << QString();
        QTest::newRow("Good/Bad no") << ChoiceTopic::GoodBad << 1 << R(3, 3) << u"\\hなーんだ。"_s
                                     << QList<int>{} << QString();
        QTest::newRow("YesNo yes") << ChoiceTopic::YesNo << 0 << R(2, 3) << u"\\hそうでなくちゃ。"_s
                                   << QList<int>{3} << QString();
        QTest::newRow("NewsEvent yes")
            << ChoiceTopic::NewsEvent << 0 << 0.0 << u"\\h%rs[Select_NewsEvent_Yes]"_s
            << QList<int>{} << QString();
        QTest::newRow("GoSubSidiary no")
            << ChoiceTopic::GoSubsidiary << 1 << 0.0 << u"\\h%rs[Select_GoSubSidiary_No]"_s
            << QList<int>{} << QString();
        QTest::newRow("PsnDo no") << ChoiceTopic::PsnDo << 1 << R(2, 2)
                                  << u"\\h見て見ぬフリですか･･･。\\w5"_s << QList<int>{}
                                  << QString();
        QTest::newRow("unknown topic")
            << ChoiceTopic::None << 0 << 0.0 << QString() << QList<int>{} << QString();
    }
    void reactions() {
        QFETCH(ChoiceTopic, topic);
        QFETCH(int, choice);
        QFETCH(double, r);
        QFETCH(QString, said);
        QFETCH(QList<int>, surfaces);
        QFETCH(QString, action);
        TalkRig rig;
        rig.talk.QuestionsPart().OfferChoice(u"はい"_s, u"いいえ"_s, topic, ChoicePosition::Top);
        rig.mainBalloon.SetPanelVisible(BalloonPanel::Select, true);
        rig.ctx.flags.balloonHold = true;
        rig.random.Push(r);
        rig.talk.AnswerChosen(choice);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        QCOMPARE(rig.player.IsRunning(), !said.isEmpty());
        if (!said.isEmpty()) QCOMPARE(rig.player.Buffer(), said);
        QCOMPARE(rig.character.surfaces, surfaces);
        QCOMPARE(rig.actionLog, action.isEmpty() ? QStringList() : QStringList{action});
        // Only the shutdown keeps the balloon held (and the character frozen) for its farewell.
        const bool shutdown = topic == ChoiceTopic::ExitWin && choice == 0;
        QCOMPARE(rig.ctx.flags.balloonHold, shutdown);
        QCOMPARE(rig.character.enabled, !shutdown);
    }

    // "クリア中" is shown at once, as it stands, before the closing line plays.
    void recentDocumentsShowTheirProgress() {
        TalkRig rig;
        rig.talk.QuestionsPart().OfferChoice(u"うん"_s, u"ダメ"_s, ChoiceTopic::RecDel,
                                             ChoicePosition::Top);
        rig.talk.AnswerChosen(0);
        QVERIFY(rig.mainBalloon.messages.contains(u"ファイルをクリアしています･･･"_s));
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"証拠隠滅、完了しました！"_s);
    }

    // The answer speaks of the same character and product as the question did.
    void answerRepeatsTheQuestionsWords() {
        TalkRig rig;
        rig.Push({0.0, 0.0});
        const QString question = rig.talk.Maker().Template(49).value();
        rig.player.PlayScript(question);
        rig.play.WaitThen(FinishAction::SelMsg);
        rig.RunToEnd();
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        rig.random.Push(TalkRig::R(2, 2));
        rig.talk.AnswerChosen(1);
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"キャラ#1と商品#1って微妙な取り合わせだよね。"_s);
    }

    // Ask plays the question; the panel comes 250 ms after the step that ends it.
    void askShowsThePanelWhenTheQuestionHasBeenSaid() {
        TalkRig rig;
        rig.talk.Ask(u"\\hん～？\\w5褒められてる？"_s, u"うん"_s, u"いや"_s, ChoiceTopic::Praise,
                     ChoicePosition::Top);
        QCOMPARE(rig.mainBalloon.choiceWords, (QStringList{u"うん"_s, u"いや"_s}));
        QCOMPARE(rig.play.Pending(), FinishAction::SelMsg);
        for (int i = 0; i < 10; ++i)
            rig.Tick();
        QCOMPARE(rig.mainBalloon.message, u"ん～？褒められてる？"_s);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        rig.RunToEnd();
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        QVERIFY(rig.ctx.flags.balloonHold);
    }

    void choicePanelPlaces() {
        TalkRig rig;
        Questions& q = rig.talk.QuestionsPart();
        q.OfferChoice(u"a"_s, u"b"_s, ChoiceTopic::YesNo, ChoicePosition::Mid);
        QCOMPARE(rig.mainBalloon.choicePos, std::make_pair(120, 1080));
        q.OfferChoice(u"c"_s, u"d"_s, ChoiceTopic::Praise, ChoicePosition::Top);
        QCOMPARE(rig.mainBalloon.choicePos, std::make_pair(120, 960));
        QCOMPARE(rig.mainBalloon.choiceWords, (QStringList{u"c"_s, u"d"_s}));
        QCOMPARE(q.PendingTopic(), ChoiceTopic::Praise);
        // The character and the balloon come to the front; the user's window keeps the focus.
        QVERIFY(rig.journal.contains(u"kanami.Foreground"_s));
        QCOMPARE(rig.journal.last(), u"main.RestoreActivation 42"_s);
    }

    void answerWords_data() {
        QTest::addColumn<AnswerKind>("kind");
        QTest::addColumn<QList<double>>("randoms");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("ReqAcp") << AnswerKind::ReqAcp << QList<double>{0.0, 0.9}
                                << QStringList{u"その通り"_s, u"別にいいんじゃない"_s};
        QTest::newRow("Good/Bad") << AnswerKind::GoodBad << QList<double>{0.9, 0.0}
                                  << QStringList{u"大賛成"_s, u"いや、別になんとも"_s};
        QTest::newRow("YesNo") << AnswerKind::YesNo << QList<double>{0.9, 0.9}
                               << QStringList{u"言うまでもなく"_s, u"ぜんぜん"_s};
    }
    void answerWords() {
        QFETCH(AnswerKind, kind);
        QFETCH(QList<double>, randoms);
        TalkRig rig;
        Questions& q = rig.talk.QuestionsPart();
        rig.Push({0.0, 0.0});
        q.PickAnswerWords(AnswerKind::YesNo);
        rig.Push(randoms);
        q.PickAnswerWords(kind);
        QTEST((QStringList{q.PositiveWord(), q.NegativeWord()}), "words");
        QCOMPARE(rig.random.Remaining(), 0);
    }
};

QTEST_GUILESS_MAIN(TestQuestions)
#include "test_questions.moc"
