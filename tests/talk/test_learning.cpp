#include "../fakes/full_disk.h"
#include "talk_rig.h"

#include "talk/word_registration.h"

#include <QFile>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestLearning : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startLearningOpensTheTeachingPanel() {
        TalkRig rig;
        rig.Category(u"人物"_s, {u"山田さん"_s, u"ＡＢＣ～"_s});
        rig.mainBalloon.SetPanelVisible(BalloonPanel::Select, true);
        rig.random.Push(0.9);
        rig.Play(u"\\h%msといえば？$learn[人物]"_s);
        QCOMPARE(rig.mainBalloon.teachPrompt, u"人名を入力してください"_s);
        QCOMPARE(rig.mainBalloon.teachExample, u"例 ： ＡＢＣ～"_s);
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Teach));
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        QVERIFY(rig.ctx.flags.balloonHold);
        QCOMPARE(rig.talk.InputMode(), u"Learn"_s);
        QCOMPARE(rig.talk.LearningPart().CurrentCategory(), u"人物"_s);
    }

    // A script from elsewhere may name any category; only the 61 open the panel (and only they
    // can get a file).
    void startLearningRefusesOtherNames() {
        TalkRig rig;
        rig.talk.LearningPart().StartLearning(u"どこか"_s);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Teach));
        QVERIFY(!rig.ctx.flags.balloonHold);
        QVERIFY(rig.talk.InputMode().isEmpty());
        rig.talk.LearnWord(u"なにか"_s);
        QVERIFY(!rig.player.IsRunning());
        QVERIFY(rig.log.Text().contains(u"Learning refused: どこか"_s));
    }

    void newWord() {
        TalkRig rig;
        rig.talk.LearningPart().StartLearning(u"職業"_s);
        rig.mainBalloon.input = u"テスト"_s;
        rig.random.Push(TalkRig::R(4, 5));
        rig.talk.LearnWord(u"テスト"_s);
        // An empty category gets "PN" 1 and key "1".
        QCOMPARE(rig.dictionary.WordCount(u"職業"_s), 1);
        QCOMPARE(rig.dictionary.ReadTalk(u"職業"_s, 1), u"テスト"_s);
        QCOMPARE(rig.player.Buffer(), u"\\hテストって職業#1の仲間%en"_s);
        QVERIFY(!rig.ctx.flags.balloonHold);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Teach));
        QVERIFY(rig.talk.InputMode().isEmpty());
    }

    // A word the dictionary did not take is not praised as learned (every praise names it).
    void unstoredWordIsNotPraised_data() {
        QTest::addColumn<bool>("full");
        QTest::newRow("full disk") << true;
        QTest::newRow("folder is a file") << false;
    }
    void unstoredWordIsNotPraised() {
        QFETCH(bool, full);
        TalkRig rig;
        const QString folder = rig.dir.filePath(u"TalkEngine"_s);
        if (full)
            rig.Category(u"動物"_s, {u"イヌ"_s});
        else
            QVERIFY(WriteCp932File(folder, u"not a folder"_s));
        rig.talk.LearningPart().StartLearning(u"動物"_s);
        std::optional<fakes::FullDisk> disk;
        if (full) disk.emplace(rig.TalkFile(u"動物"_s));
        rig.talk.LearnWord(u"ウマ"_s);
        disk.reset();
        QVERIFY2(!rig.player.Buffer().contains(u"ウマ"_s), qPrintable(rig.player.Buffer()));
        QCOMPARE(rig.Words(u"動物"_s), full ? QStringList{u"イヌ"_s} : QStringList());
        QVERIFY(rig.log.Text().contains(u"not written"_s));
        QVERIFY(!rig.ctx.flags.balloonHold);
    }

    // The comparison is exact: other letter case or width is a new word, appended at the end.
    void teachingTwiceAndCaseDifferences() {
        TalkRig rig;
        rig.Category(u"ソフト"_s, {u"Editor"_s});
        rig.talk.LearningPart().StartLearning(u"ソフト"_s);
        rig.talk.LearnWord(u"editor"_s);
        rig.talk.LearningPart().StartLearning(u"ソフト"_s);
        rig.talk.LearnWord(u"Ｅｄｉｔｏｒ"_s);
        QCOMPARE(rig.Words(u"ソフト"_s),
                 (QStringList{u"Editor"_s, u"editor"_s, u"Ｅｄｉｔｏｒ"_s}));
        // A known word leaves the file as it was.
        const QByteArray before = Bytes(rig.TalkFile(u"ソフト"_s));
        rig.talk.LearningPart().StartLearning(u"ソフト"_s);
        rig.random.Push(0.0);
        rig.talk.LearnWord(u"editor"_s);
        QCOMPARE(rig.player.Buffer(), u"\\heditorはもう知ってるよ～。\\w8"_s);
        QCOMPARE(Bytes(rig.TalkFile(u"ソフト"_s)), before);
    }

    void nagTalk() {
        TalkRig rig;
        rig.talk.LearningPart().StartLearning(u"場所"_s);
        rig.talk.NagTalk();
        QCOMPARE(rig.player.Buffer(), u"\\h\\s4質問にはちゃんと答えてよぉ～。"_s);
        QVERIFY(!rig.ctx.flags.balloonHold);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Teach));
    }

    void stateQuestion_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("question");
        QTest::newRow("い") << u"かわいい"_s << u"\\hかわいい%jbといえば誰？\\w8$learn[人物]"_s;
        QTest::newRow("な") << u"元気"_s << u"\\h元気な%jbといえば誰？\\w8$learn[人物]"_s;
    }
    void stateQuestion() {
        QFETCH(QString, state);
        TalkRig rig;
        rig.words.Queue(u"状態"_s, {state});
        rig.random.Push(TalkRig::R(22, 39));
        QTEST(rig.talk.LearningPart().LearningQuestion(), "question");
        QCOMPARE(rig.ctx.flags.talkCount, 1);
    }

    // Every question ends in a learning tag that opens the panel, and shows no stray tag.
    void everyQuestionAsksForAWord() {
        for (int k = 1; k <= Learning::kQuestionCount; ++k) {
            TalkRig rig;
            rig.ctx.profile.callName = u"ユーザ"_s;
            const QString q = rig.talk.LearningPart().Question(k);
            QVERIFY2(q.contains(u"$learn["_s), qPrintable(q));
            rig.Play(q);
            QVERIFY2(rig.mainBalloon.IsPanelVisible(BalloonPanel::Teach), qPrintable(q));
            QVERIFY2(!rig.mainBalloon.message.contains(u'\\'), qPrintable(rig.mainBalloon.message));
        }
    }

    void registrationPrefills_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("caret");
        QTest::newRow("address") << u"アドレス"_s << u"http://www."_s << 11;
        QTest::newRow("similar things") << u"類似"_s << u","_s << 0;
    }
    void registrationPrefills() {
        QFETCH(QString, category);
        QFETCH(QString, input);
        TalkRig rig;
        WordRegistration reg(rig.ctx, rig.dictionary, rig.player);
        reg.Open();
        reg.SelectCategory(CategoryIndex(category));
        QCOMPARE(reg.InputText(), input);
        QTEST(reg.Caret(), "caret");
        reg.SetInputText(input + u"x"_s);
        reg.PressEnter();
        QCOMPARE(reg.InputText(), input);
    }
};

QTEST_GUILESS_MAIN(TestLearning)
#include "test_learning.moc"
