#include "script_rig.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

using Marks = QList<std::pair<quint32, bool>>; // wait marker shown or hidden, at a tick

class TestScriptPlayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oneCharacterPerTickAndTheEndOneTickLater() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\hこんにちは"_s);
        QStringList shown;
        for (int i = 0; i < 5; ++i) {
            rig.Tick();
            shown << rig.mainBalloon.message;
            QVERIFY(rig.player.IsRunning());
        }
        QCOMPARE(shown,
                 (QStringList{u"こ"_s, u"こん"_s, u"こんに"_s, u"こんにち"_s, u"こんにちは"_s}));
        rig.Tick();
        QVERIFY(!rig.player.IsRunning());
        QCOMPARE(rig.mainBalloon.message, u"こんにちは"_s);
        QCOMPARE(rig.clock.ElapsedMs(), 300);
    }

    void finalBalloonTexts_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("fellow");
        QTest::newRow("speakers keep their text") << u"\\hA\\w8\\uB\\w8\\hC"_s << u"AC"_s << u"B"_s;
        QTest::newRow("clear") << u"\\hA\\w8\\uB\\w8\\h\\cC"_s << u"C"_s << u"B"_s;
        QTest::newRow("second \\h moves A away") << u"\\hA\\hB"_s << u"B"_s << QString();
        QTest::newRow("clear mid-text") << u"\\hAB\\cC"_s << u"C"_s << QString();
        QTest::newRow("line break") << u"\\hA\\nB"_s << u"A\r\nB"_s << QString();
        QTest::newRow("end tag") << u"\\hA\\eB\\uC"_s << u"A"_s << QString();
        QTest::newRow("\\w0") << u"\\h\\w0"_s << u"\\w0"_s << QString();
        QTest::newRow("\\w non-digit") << u"\\h\\wx"_s << u"\\wx"_s << QString();
        QTest::newRow("\\w at the end") << u"\\hA\\w"_s << u"A\\w"_s << QString();
        QTest::newRow("full-width digit") << u"\\h\\w８"_s << u"\\w８"_s << QString();
        QTest::newRow("unknown tag") << u"\\h\\z"_s << u"\\z"_s << QString();
        QTest::newRow("\\v") << u"\\h\\vab"_s << u"\\vab"_s << QString();
        QTest::newRow("lone backslash") << u"\\hA\\"_s << u"A\\"_s << QString();
        QTest::newRow("\\_ other") << u"\\h\\_x"_s << u"\\_x"_s << QString();
        QTest::newRow("\\_ at end") << u"\\h\\_"_s << u"\\_"_s << QString();
        QTest::newRow("\\j without ]") << u"\\h\\j[abc"_s << u"\\j[abc"_s << QString();
        QTest::newRow("\\j without [") << u"\\h\\jx"_s << u"\\jx"_s << QString();
        QTest::newRow("\\s[x]") << u"\\h\\s[x]"_s << u"\\s[x]"_s << QString();
        QTest::newRow("\\s[1") << u"\\h\\s[1"_s << u"\\s[1"_s << QString();
        QTest::newRow("\\sA") << u"\\h\\sA"_s << u"\\sA"_s << QString();
        QTest::newRow("percent") << u"\\h100%"_s << u"100%"_s << QString();
        QTest::newRow("unknown variable") << u"\\h%foo"_s << u"%foo"_s << QString();
        QTest::newRow("percent blank") << u"\\h% x"_s << u"% x"_s << QString();
        QTest::newRow("%rs[ unclosed") << u"\\h%rs[1"_s << u"%rs[1"_s << QString();
        QTest::newRow("unknown command") << u"\\h$foo"_s << u"$foo"_s << QString();
        QTest::newRow("dollar at end") << u"\\hA$"_s << u"A$"_s << QString();
        QTest::newRow("$learn[ unclosed") << u"\\h$learn[格言"_s << u"$learn[格言"_s << QString();
        QTest::newRow("empty call name skips a tag")
            << u"\\h%username\\w8"_s << u"\\w8"_s << QString();
        QTest::newRow("char after command passes") << u"\\h$RSC\\w8"_s << u"\\w8"_s << QString();
        QTest::newRow("starts without a tag") << u"AB"_s << u"AB"_s << QString();
        QTest::newRow("fellow first") << u"\\uA\\hB"_s << u"B"_s << u"A"_s;
        QTest::newRow("hide tag") << u"\\hA\\_eB"_s << u"AB"_s << QString();
    }
    void finalBalloonTexts() {
        QFETCH(QString, script);
        QFETCH(QString, main);
        QFETCH(QString, fellow);
        ScriptRig rig;
        rig.ctx.profile.callName.clear();
        rig.Play(script);
        QVERIFY(!rig.player.IsRunning());
        QCOMPARE(rig.mainBalloon.message, main);
        QCOMPARE(rig.fellowBalloon.message, fellow);
    }

    void accumulatedTextsFollowTheSpeakerSwitches() {
        ScriptRig rig;
        rig.Play(u"\\hA\\hB"_s);
        QCOMPARE(rig.player.MsgTmp_f(), u"A"_s);
        rig.Play(u"\\hA\\w8\\uB\\w8\\hC"_s);
        QCOMPARE(rig.player.MsgTmp_h(), u"A"_s);
        QCOMPARE(rig.player.MsgTmp_f(), u"B"_s);
    }

    void unrecognisedTagShowsTheBackslashFirst() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\h\\zQ"_s);
        QStringList shown;
        while (rig.player.IsRunning()) {
            rig.Tick();
            shown << rig.mainBalloon.message;
        }
        QCOMPARE(shown, (QStringList{u"\\"_s, u"\\z"_s, u"\\zQ"_s, u"\\zQ"_s}));
    }

    void lineBreakCostsTwoTicks() {
        ScriptRig rig;
        const qint64 plain = rig.Play(u"\\hAB"_s);
        const qint64 broken = rig.Play(u"\\hA\\nB"_s);
        QCOMPARE(broken - plain, 100);
    }

    void emptyScriptClearsTheSpeakerAndEndsAtOnce() {
        ScriptRig rig;
        rig.mainBalloon.message = u"old"_s;
        QCOMPARE(rig.Play(QString()), 50);
        QCOMPARE(rig.mainBalloon.message, QString());
    }

    void surfaces_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QList<int>>("surfaces");
        QTest::newRow("[4] is 5") << u"\\h\\s[4]"_s << QList<int>{5};
        QTest::newRow("[0] is 1") << u"\\h\\s[0]"_s << QList<int>{1};
        QTest::newRow("4") << u"\\h\\s4"_s << QList<int>{4};
        QTest::newRow("0 is 1") << u"\\h\\s0"_s << QList<int>{1};
        QTest::newRow("1") << u"\\h\\s1"_s << QList<int>{1};
        QTest::newRow("9 passes through") << u"\\h\\s9\\s[9]"_s << QList<int>{9, 10};
        QTest::newRow("not a digit") << u"\\h\\s-1"_s << QList<int>{};
    }
    void surfaces() {
        QFETCH(QString, script);
        QFETCH(QList<int>, surfaces);
        ScriptRig rig;
        rig.Play(script);
        QCOMPARE(rig.character.surfaces, surfaces);
        for (const QString& line : rig.journal)
            if (line.startsWith(u"kanami.ShowSurface")) QVERIFY(line.endsWith(u"hold"));
    }

    void waitEndsEarlyOnAClick() {
        ScriptRig rig;
        QCOMPARE(rig.Play(u"\\hA\\w9B"_s), 600); // 50 + 50 + 450 + 50
        rig.player.PlayScript(u"\\hA\\w9B"_s);
        rig.Tick();
        rig.ClickIn(150); // 100 ms into the wait of the next step
        QCOMPARE(rig.RunToEnd(), 50 + 100 + 50);
        QCOMPARE(rig.mainBalloon.message, u"AB"_s);
    }

    void waitsAreFiftyMsPerDigitWhateverTheTick() {
        ScriptRig rig;
        rig.ctx.flags.timerInterval = 10;
        // The tags continue, so the end is noticed in the same step.
        QCOMPARE(rig.Play(u"\\h\\w8\\w8"_s), 10 + 800);
    }

    void clickWaitBlinksUntilTheClick_data() {
        QTest::addColumn<quint32>("clickAt");
        QTest::addColumn<Marks>("marks");
        // Shown at 100, hidden 200 later, shown again 700 after that. A click hides the marker
        // and cuts the running wait short; the loop looks for it when a cycle is over.
        QTest::newRow("in the hidden part")
            << 1550u << Marks{{100, true},   {300, false}, {1000, true}, {1200, false},
                              {1550, false}, {1550, true}, {1550, false}};
        QTest::newRow("in the shown part")
            << 1100u << Marks{{100, true},   {300, false}, {1000, true}, {1100, false},
                              {1100, false}, {1800, true}, {1800, false}};
    }
    void clickWaitBlinksUntilTheClick() {
        QFETCH(quint32, clickAt);
        QFETCH(Marks, marks);
        ScriptRig rig;
        rig.player.PlayScript(u"\\hA\\xB"_s);
        rig.Tick(); // "A" at 50
        bool heldDuringWait = false;
        rig.clock.ScheduleAt(1000, [&] { heldDuringWait = rig.ctx.flags.balloonHold; });
        rig.clock.ScheduleAt(clickAt, [&] { rig.player.Click(); });
        rig.Tick(); // the step at 100 runs the click wait
        QVERIFY(heldDuringWait);
        QVERIFY(!rig.ctx.flags.balloonHold);
        QCOMPARE(rig.mainBalloon.message, u"AB"_s);
        QCOMPARE(rig.mainBalloon.markerTimes, marks);
        QCOMPARE(quint32(rig.clock.ElapsedMs()), marks.last().first);
    }

    void playScriptDuringAWaitContinuesWithTheNewScript() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\hA\\w8B"_s);
        rig.Tick();
        rig.clock.ScheduleIn(100, [&] { rig.player.PlayScript(u"\\hXY"_s); });
        rig.Tick();
        // After the wait the same step shows the new script's first character.
        QCOMPARE(rig.mainBalloon.message, u"X"_s);
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"XY"_s);
        QVERIFY(!rig.mainBalloon.messages.contains(u"AB"_s));
    }

    void playScriptPreparesTheBalloons_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("onTop");
        QTest::addColumn<QStringList>("journal");
        QTest::newRow("main") << u"\\hA"_s << false
                              << QStringList{u"main.Activate"_s,
                                             u"fellow.Hide"_s,
                                             u"main.BringToFront"_s,
                                             u"main.NotTopmost"_s,
                                             u"fellow.BringToFront"_s,
                                             u"fellow.NotTopmost"_s,
                                             u"main.RestoreActivation 42"_s};
        QTest::newRow("fellow, on top")
            << u"\\uA"_s << true
            << QStringList{u"fellow.Activate"_s, u"main.Hide"_s, u"main.Topmost"_s,
                           u"fellow.Topmost"_s, u"fellow.RestoreActivation 42"_s};
    }
    void playScriptPreparesTheBalloons() {
        QFETCH(QString, script);
        QFETCH(bool, onTop);
        QFETCH(QStringList, journal);
        ScriptRig rig;
        rig.frame.SetOnTop(onTop);
        rig.ctx.flags.balloonHold = true;
        rig.ctx.flags.mainBalloonCounter = 77;
        const int talks = rig.ctx.flags.talkCount;
        rig.journal.clear();
        rig.player.PlayScript(script);
        QCOMPARE(rig.journal.mid(0, journal.size()), journal);
        QCOMPARE(rig.frame.MsgScope(), script.startsWith(u"\\u") ? 1 : 0);
        QVERIFY(!rig.ctx.flags.balloonHold);
        QCOMPARE(rig.ctx.flags.mainBalloonCounter, 0);
        QCOMPARE(rig.ctx.flags.talkCount, talks + 1);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
    }

    void resetTalkHidesTheBalloonOfAHiddenCharacter() {
        ScriptRig rig;
        rig.mainBalloon.visible = true;
        rig.character.visible = false;
        rig.player.ResetTalk();
        QVERIFY(!rig.mainBalloon.visible);
    }

    void minimisedDropsScripts() {
        ScriptRig rig;
        rig.ctx.flags.minimized = true;
        rig.player.PlayScript(u"\\hA"_s);
        QVERIFY(!rig.player.IsRunning());
        QVERIFY(rig.journal.isEmpty());
    }

    void fellowTagWithoutFellowCutsTheScript() {
        ScriptRig rig;
        rig.character.fellow = false;
        rig.player.PlayScript(u"\\hA\\uB\\hC"_s);
        WaitThen(rig.frame, u"SelMsg"_s);
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"A"_s);
        QVERIFY(!rig.fellowBalloon.visible);
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Select)); // the action still ran
    }

    void hideTagHidesTheSpeaker() {
        ScriptRig rig;
        rig.Play(u"\\uA\\_e"_s);
        QVERIFY(!rig.fellowBalloon.visible);
        rig.Play(u"\\hA\\_e"_s);
        QVERIFY(!rig.mainBalloon.visible);
    }

    void choiceComes250msAfterTheEndStep() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\h質問？"_s);
        WaitThen(rig.frame, u"SelMsg"_s);
        bool shownEarly = false;
        rig.clock.ScheduleAt(
            199 + 150, [&] { shownEarly = rig.mainBalloon.IsPanelVisible(BalloonPanel::Select); });
        QCOMPARE(rig.RunToEnd(), 200 + 250); // three characters, the end step at 200
        QVERIFY(!shownEarly);
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        QVERIFY(rig.ctx.flags.balloonHold);
        QVERIFY(!rig.frame.WaitScriptFinish());
        QCOMPARE(rig.frame.WSFCategory(), u"SelMsg"_s); // keeps its text
    }

    void actionNamedBeforePlayScriptIsCancelled() {
        ScriptRig rig;
        WaitThen(rig.frame, u"SelMsg"_s);
        rig.Play(u"\\h質問？"_s);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        QVERIFY(!rig.ctx.flags.balloonHold);
    }

    void scriptDuringTheActionsWaitWins() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\hQ"_s);
        WaitThen(rig.frame, u"SelMsg"_s);
        rig.Tick();
        rig.clock.ScheduleIn(100, [&] {
            rig.player.PlayScript(u"\\hNew"_s);
            WaitThen(rig.frame, u"DelDustBox"_s);
        });
        rig.Tick(); // the end step; its 250 ms wait sees the new script
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        QVERIFY(!rig.ctx.flags.balloonHold);
        QVERIFY(rig.frame.WaitScriptFinish()); // the new script's own action survives
        rig.RunToEnd();
        // The new script started at its first character: its "\h" was a tag, not text.
        QCOMPARE(rig.mainBalloon.messages.value(rig.mainBalloon.messages.indexOf(u"New"_s)),
                 u"New"_s);
        QVERIFY(rig.actionLog.contains(u"SystemAction: EmptyTrash"_s));
    }

    void finishActions_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("engine");
        QTest::addColumn<qint64>("elapsed");
        QTest::newRow("Google") << u"Search_Google"_s << u"Google"_s << qint64(100);
        QTest::newRow("Babylon") << u"Search_Babylon"_s << u"Babylon"_s << qint64(100);
        QTest::newRow("GooDic") << u"Search_GooDic"_s << u"GooDic"_s << qint64(100);
        QTest::newRow("Archive") << u"Search_Archive"_s << u"Archive"_s << qint64(100);
        QTest::newRow("wrong case") << u"search_google"_s << QString() << qint64(100);
        QTest::newRow("unknown engine") << u"Search_Bing"_s << QString() << qint64(100);
        QTest::newRow("unknown") << u"Foo"_s << QString() << qint64(100);
    }
    void finishActions() {
        QFETCH(QString, action);
        QFETCH(QString, engine);
        QFETCH(qint64, elapsed);
        ScriptRig rig;
        QStringList opened;
        rig.player.hooks.openSearchPanel = [&](const QString& e) { opened << e; };
        rig.player.PlayScript(u"\\hA"_s);
        WaitThen(rig.frame, action);
        QCOMPARE(rig.RunToEnd(), elapsed);
        QCOMPARE(opened, engine.isEmpty() ? QStringList() : QStringList{engine});
        QVERIFY(!rig.frame.WaitScriptFinish());
        rig.Play(u"\\hB"_s); // runs once only
        QCOMPARE(opened.size(), engine.isEmpty() ? 0 : 1);
    }

    void emptyRecycleBin() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\hよっこいしょ。"_s);
        WaitThen(rig.frame, u"DelDustBox"_s);
        rig.RunToEnd();
        QCOMPARE(rig.actionLog, QStringList{u"SystemAction: EmptyTrash"_s});
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"任務完了～。"_s);

        int hooked = 0;
        rig.player.hooks.emptyRecycleBin = [&] { ++hooked; };
        rig.player.PlayScript(u"\\hA"_s);
        WaitThen(rig.frame, u"DelDustBox"_s);
        rig.RunToEnd();
        QCOMPARE(hooked, 1);
        QCOMPARE(rig.actionLog.size(), 1);
    }

    void learnCommandCallsTheHookWhenReached() {
        ScriptRig rig;
        QStringList learned;
        QString shownThen;
        rig.player.hooks.startLearning = [&](const QString& c) {
            learned << c;
            shownThen = rig.mainBalloon.message;
        };
        rig.Play(u"\\h何か格言を教えて？$learn[格言]"_s);
        QCOMPARE(learned, QStringList{u"格言"_s});
        QCOMPARE(shownThen, u"何か格言を教えて？"_s);
        QCOMPARE(rig.mainBalloon.message, u"何か格言を教えて？"_s);
        rig.Play(u"\\hA$learn[]B"_s); // an empty category is still a command
        QCOMPARE(learned.size(), 2);
    }

    void openTarget() {
        ScriptRig rig;
        rig.Play(u"\\hA\\j[https://example.org/a?b=1]B"_s);
        QCOMPARE(rig.actionLog, QStringList{u"SystemAction: OpenUrl https://example.org/a?b=1"_s});
        QCOMPARE(rig.mainBalloon.message, u"AB"_s);
        for (const QString& refused : {u"file:///etc/passwd"_s, u"notepad.exe"_s, u"/bin/sh"_s,
                                       u"javascript:alert(1)"_s, u""_s, u"http://"_s}) {
            rig.actionLog.clear();
            rig.Play(u"\\hA\\j["_s + refused + u"]B"_s);
            QVERIFY2(rig.actionLog.isEmpty(), qPrintable(refused));
            QCOMPARE(rig.mainBalloon.message, u"起動失敗～。"_s);
        }
    }

    void deepTagRunsNeedNoStack() {
        ScriptRig rig;
        QString script = u"\\h"_s;
        for (int i = 0; i < 50000; ++i)
            script += u"\\s1\\c"_s;
        script += u"end"_s;
        rig.player.PlayScript(script);
        rig.Tick(); // one step takes all 100,000 tags and shows "e"
        QCOMPARE(rig.character.surfaces.size(), 50000);
        QCOMPARE(rig.mainBalloon.message, u"e"_s);
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"end"_s);
    }

    void malformedInputAlwaysEnds() {
        // Random scripts of tag letters and markup end, whatever they hold.
        static const QString kAlphabet = u"\\\\\\%%$[]hucenwsxv_j0149ABrsmdl:/\r\n"_s;
        ScriptRig rig;
        rig.player.hooks.clickWaitStarted = [&] { rig.ClickIn(900); };
        std::mt19937 gen(1234);
        for (int n = 0; n < 3000; ++n) {
            QString script;
            const int len = int(gen() % 24);
            for (int i = 0; i < len; ++i)
                script += kAlphabet[qsizetype(gen() % kAlphabet.size())];
            rig.Play(script, 5000);
            QVERIFY2(!rig.player.IsRunning(), qPrintable(script));
        }
    }
};

QTEST_GUILESS_MAIN(TestScriptPlayer)
#include "test_script_player.moc"
