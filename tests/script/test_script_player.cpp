#include "script_rig.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

using Marks = QList<std::pair<quint32, bool>>; // wait marker shown or hidden, at a tick

class TestScriptPlayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One panel at a time, buttons reset for the input panels; ApplyOnTop reaches the window.
    void foreMenuAndOnTop() {
        ScriptRig rig;
        rig.play.ForeMenu(BalloonPanel::Teach);
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Teach));
        QCOMPARE(rig.journal.filter(u"ResetButtons"_s).size(), 1);
        rig.play.ForeMenu(BalloonPanel::Select);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Teach));
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        rig.play.ForeMenu(BalloonPanel::None);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        rig.journal.clear();
        rig.play.SetOnTop(false);
        QCOMPARE(rig.journal, QStringList{u"kanami.NotTopmost"_s});
    }

    void oneCharacterPerTickAndTheEndOneTickLater() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\hこんにちは"_s);
        QStringList shown;
        while (rig.player.IsRunning()) {
            rig.Tick();
            shown << rig.mainBalloon.message;
        }
        QCOMPARE(shown, (QStringList{u"こ"_s, u"こん"_s, u"こんに"_s, u"こんにち"_s,
                                     u"こんにちは"_s, u"こんにちは"_s}));
        QCOMPARE(rig.clock.ElapsedMs(), 300);
    }

    // Unrecognised and malformed forms are shown as they stand and never stop playback.
    void finalBalloonTexts_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("fellow");
        QTest::newRow("speakers keep their text") << u"\\hA\\w8\\uB\\w8\\hC"_s << u"AC"_s << u"B"_s;
        QTest::newRow("clear") << u"\\hA\\w8\\uB\\w8\\h\\cC"_s << u"C"_s << u"B"_s;
        QTest::newRow("line break") << u"\\hA\\nB"_s << u"A\r\nB"_s << QString();
        QTest::newRow("end tag") << u"\\hA\\eB\\uC"_s << u"A"_s << QString();
        QTest::newRow("hide tag") << u"\\hA\\_eB"_s << u"AB"_s << QString();
        QTest::newRow("\\w0") << u"\\h\\w0"_s << u"\\w0"_s << QString();
        QTest::newRow("unknown tag") << u"\\h\\z"_s << u"\\z"_s << QString();
        QTest::newRow("lone backslash") << u"\\hA\\"_s << u"A\\"_s << QString();
        QTest::newRow("\\_ other") << u"\\h\\_x"_s << u"\\_x"_s << QString();
        QTest::newRow("\\j without ]") << u"\\h\\j[abc"_s << u"\\j[abc"_s << QString();
        QTest::newRow("%rs[ unclosed") << u"\\h%rs[1"_s << u"%rs[1"_s << QString();
        QTest::newRow("$learn[ unclosed") << u"\\h$learn[格言"_s << u"$learn[格言"_s << QString();
        QTest::newRow("empty call name skips a tag")
            << u"\\h%username\\w8"_s << u"\\w8"_s << QString();
        QTest::newRow("char after command passes") << u"\\h$RSC\\w8"_s << u"\\w8"_s << QString();
    }
    void finalBalloonTexts() {
        QFETCH(QString, script);
        ScriptRig rig;
        rig.ctx.profile.callName.clear();
        rig.Play(script);
        QVERIFY(!rig.player.IsRunning());
        QTEST(rig.mainBalloon.message, "main");
        QTEST(rig.fellowBalloon.message, "fellow");
    }

    void surfaces() {
        ScriptRig rig;
        rig.Play(u"\\h\\s[4]\\s0\\s[0]\\s9\\s[9]\\s-1"_s);
        QCOMPARE(rig.character.surfaces, (QList<int>{5, 1, 1, 9, 10}));
        QVERIFY(rig.journal.filter(u"ShowSurface"_s).filter(u"free"_s).isEmpty());
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
        QTEST(rig.mainBalloon.markerTimes, "marks");
    }

    // A click wait lasts only while it can be answered: its balloon is shown again after a
    // "\_e" or a hide; the next script ends a remote one, the End command any.
    void clickWaitEndsOnlyWhenAnswerable_data() {
        QTest::addColumn<bool>("remote");
        QTest::addColumn<bool>("end");
        QTest::addColumn<bool>("heldUntilClick");
        QTest::newRow("local: the next script waits") << false << false << true;
        QTest::newRow("remote: the next script ends it") << true << false << false;
        QTest::newRow("End ends it") << false << true << false;
    }
    void clickWaitEndsOnlyWhenAnswerable() {
        QFETCH(bool, remote);
        QFETCH(bool, end);
        ScriptRig rig;
        rig.player.PlayScript(u"\\h\\_e\\x"_s, remote ? ScriptOrigin::Remote : ScriptOrigin::Local);
        QList<bool> shown;
        rig.clock.ScheduleAt(100, [&] {
            shown << rig.mainBalloon.visible;
            rig.mainBalloon.Hide(); // as the edge toggle does
        });
        rig.clock.ScheduleAt(1000, [&] {
            shown << rig.mainBalloon.visible;
            rig.ctx.flags.exitRequest = end;
            rig.player.PlayScript(u"\\hNext"_s);
        });
        rig.ClickIn(30000);
        rig.Tick(); // the step of the wait
        QTEST(rig.clock.ElapsedMs() >= 30000, "heldUntilClick");
        QCOMPARE(shown, (QList<bool>{true, true}));
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"Next"_s);
    }

    void playScriptDuringAWaitContinuesWithTheNewScript() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\hA\\w8B"_s);
        rig.Tick();
        rig.clock.ScheduleIn(100, [&] { rig.player.PlayScript(u"\\hXY"_s); });
        rig.Tick();
        QCOMPARE(rig.mainBalloon.message, u"X"_s); // the same step goes on at position 1
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"XY"_s);
    }

    void minimisedDropsScripts() {
        ScriptRig rig;
        rig.ctx.flags.minimized = true;
        rig.player.PlayScript(u"\\hA"_s);
        QVERIFY(!rig.player.IsRunning());
        QVERIFY(rig.journal.isEmpty());
    }

    void choiceComes250msAfterTheEndStep() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\h質問？"_s);
        rig.play.WaitThen(FinishAction::SelMsg);
        bool shownEarly = false;
        rig.clock.ScheduleAt(
            199 + 150, [&] { shownEarly = rig.mainBalloon.IsPanelVisible(BalloonPanel::Select); });
        QCOMPARE(rig.RunToEnd(), 200 + 250); // three characters, the end step at 200
        QVERIFY(!shownEarly);
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        QCOMPARE(rig.play.Pending(), FinishAction::None);
        // An action named before PlayScript is cancelled by it.
        rig.play.WaitThen(FinishAction::SelMsg);
        rig.Play(u"\\h質問？"_s);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
    }

    void scriptDuringTheActionsWaitWins() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\hQ"_s);
        rig.play.WaitThen(FinishAction::SelMsg);
        rig.Tick();
        rig.clock.ScheduleIn(100, [&] {
            rig.player.PlayScript(u"\\hNew"_s);
            rig.play.WaitThen(FinishAction::DelDustBox);
        });
        rig.Tick(); // the end step; its 250 ms wait sees the new script
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Select));
        rig.RunToEnd();
        QVERIFY(rig.mainBalloon.messages.contains(u"New"_s)); // its "\h" was a tag, not text
        QVERIFY(rig.actionLog.contains(u"SystemAction: EmptyTrash"_s));
    }

    void finishActionsRunOnce() {
        ScriptRig rig;
        QList<SearchEngine> opened;
        rig.player.hooks.openSearchPanel = [&](SearchEngine e) { opened << e; };
        for (FinishAction action : {FinishAction::SearchGoogle, FinishAction::SearchArchive}) {
            rig.player.PlayScript(u"\\hA"_s);
            rig.play.WaitThen(action);
            QCOMPARE(rig.RunToEnd(), 100);
            rig.Play(u"\\hB"_s);
        }
        QCOMPARE(opened, (QList<SearchEngine>{SearchEngine::Google, SearchEngine::Archive}));

        rig.player.PlayScript(u"\\hよっこいしょ。"_s);
        rig.play.WaitThen(FinishAction::DelDustBox);
        rig.RunToEnd();
        QCOMPARE(rig.actionLog, QStringList{u"SystemAction: EmptyTrash"_s});
        rig.RunToEnd();
        QCOMPARE(rig.mainBalloon.message, u"任務完了～。"_s);
    }

    void learnCommandCallsTheHookWhenReached() {
        ScriptRig rig;
        QStringList learned; // the category, with the text shown by then
        rig.player.hooks.startLearning = [&](const QString& c) {
            learned << c << rig.mainBalloon.message;
        };
        rig.Play(u"\\h教えて？$learn[格言]"_s);
        QCOMPARE(learned, (QStringList{u"格言"_s, u"教えて？"_s}));
    }

    // Only web addresses with a host open; anything else says so in the balloon.
    void openTargetOpensOnlyWebAddresses_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("opened"); // empty: refused
        QTest::newRow("https") << u"https://example.org/a?b=1"_s << u"https://example.org/a?b=1"_s;
        QTest::newRow("scheme in capitals") << u"HTTP://example.org/"_s << u"http://example.org/"_s;
        QTest::newRow("file with a host") << u"file://localhost/etc/passwd"_s << QString();
        QTest::newRow("smb") << u"smb://host/share"_s << QString();
        QTest::newRow("http without a host") << u"http:/etc/passwd"_s << QString();
        QTest::newRow("a program") << u"/bin/sh"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void openTargetOpensOnlyWebAddresses() {
        QFETCH(QString, target);
        QFETCH(QString, opened);
        ScriptRig rig;
        rig.Play(u"\\hA\\j["_s + target + u"]B"_s);
        QCOMPARE(rig.actionLog, opened.isEmpty()
                                    ? QStringList()
                                    : QStringList{u"SystemAction: OpenUrl "_s + opened});
        QCOMPARE(rig.mainBalloon.message, opened.isEmpty() ? u"起動失敗～。"_s : u"AB"_s);
    }

    void deepTagRunsNeedNoStack() {
        ScriptRig rig;
        rig.player.PlayScript(u"\\h"_s + u"\\s1\\c"_s.repeated(50000) + u"end"_s);
        rig.Tick(); // one step takes all 100,000 tags and shows "e"
        QCOMPARE(rig.character.surfaces.size(), 50000);
        QCOMPARE(rig.mainBalloon.message, u"e"_s);
    }

    void malformedInputAlwaysEnds() {
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
