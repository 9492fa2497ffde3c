// The balloon menu over a headless balloon: opening it, its pages and what each line does,
// the news page, the hover mark, and the search panel that the Search_* finish actions open.
#include "talk_rig.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

struct MenuRig : TalkRig {
    MenuRig() {
        player.hooks.handed = [this](const QString& script, ScriptOrigin) { played << script; };
        Category(u"人物"_s, {u"a"_s, u"b"_s, u"c"_s});
        Category(u"場所"_s, {u"d"_s});
    }
    QStringList played;
    BalloonMenu& menu = talk.Menu();
};

} // namespace

class TestBalloonMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openingStopsTheTalkAndCancelsWhatWasToFollow() {
        MenuRig rig;
        rig.player.PlayScript(u"\\hごみ箱を空にするよ。"_s);
        rig.play.WaitThen(FinishAction::DelDustBox);
        rig.Tick();
        rig.ctx.flags.balloonHold = true;
        rig.talk.OpenMenu();
        QVERIFY(!rig.player.IsRunning());
        QCOMPARE(rig.play.Pending(), FinishAction::None);
        QVERIFY(!rig.ctx.flags.balloonHold);
        QCOMPARE(rig.mainBalloon.Message(), QString());
        QVERIFY(rig.mainBalloon.IsVisible());
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Menu));
        QCOMPARE(rig.mainBalloon.menu.heading, u"呼び出し#1"_s);
        QCOMPARE(rig.mainBalloon.menu.items.size(), BalloonMenu::kLines);
        // The emptying never comes: the script it waited for was cut short.
        rig.RunToEnd();
        QVERIFY(!rig.actionLog.join(u' ').contains(u"EmptyTrash"_s));
    }

    void linesActByTheirCaptions_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("heading"); // the page shown next, or ""
        QTest::addColumn<QString>("script");  // the start of the script played, or ""
        QTest::addColumn<FinishAction>("then");
        const auto page = [](const char* caption, const QString& heading) {
            QTest::newRow(caption)
                << QString::fromUtf8(caption) << heading << QString() << FinishAction::None;
        };
        const auto say = [](const char* caption, const QString& script, FinishAction then) {
            QTest::newRow(caption) << QString::fromUtf8(caption) << QString() << script << then;
        };
        page("最新ニュース", BalloonMenu::NewsPage({}).heading);
        page("インターネット検索", BalloonMenu::SearchPage().heading);
        page("次のページへ", BalloonMenu::SecondPage().heading);
        page("", u"呼び出し#1"_s); // an empty slot shows the page it was on again
        say("Google", u"\\hGoogle検索～。"_s, FinishAction::SearchGoogle);
        say("goo 便利ツール", u"\\hgoo 便利ツールです。"_s, FinishAction::SearchGooDic);
        say("BABYLON", u"\\hBABYLON"_s, FinishAction::SearchBabylon);
        say("Internet Archive", u"\\h検索するURL"_s, FinishAction::SearchArchive);
        say("ごみ箱を空に", u"\\hよっこいしょ。"_s, FinishAction::DelDustBox);
        say("最近使ったファイルのクリア", u"\\h「最近使ったファイル」"_s, FinishAction::SelMsg);
        say("Windowsの終了", u"\\hWindowsを終了しますか？"_s, FinishAction::SelMsg);
        say("現在の単語数", u"\\h4語だよ～。"_s, FinishAction::None);
        say("また今度", u"\\h\\s6「また今度」だとぉ！"_s, FinishAction::None);
        say("SystemLaunch for TOMUを起動", QString(), FinishAction::None);
    }
    void linesActByTheirCaptions() {
        QFETCH(QString, caption);
        QFETCH(QString, heading);
        QFETCH(QString, script);
        MenuRig rig;
        rig.talk.OpenMenu();
        rig.Push({TalkRig::R(4, 5)});
        rig.menu.ItemClicked(caption);
        QCOMPARE(rig.mainBalloon.IsPanelVisible(BalloonPanel::Menu), !heading.isEmpty());
        if (!heading.isEmpty()) QCOMPARE(rig.mainBalloon.menu.heading, heading);
        QCOMPARE(rig.played.size(), script.isEmpty() ? 0 : 1);
        if (!script.isEmpty())
            QVERIFY2(rig.played[0].startsWith(script), qPrintable(rig.played[0]));
        QTEST(rig.play.Pending(), "then");
    }

    // Sources fill the news page from its first line; only six have room before "あとにする".
    void newsPage() {
        MenuRig rig;
        QList<Headline> headlines{{}};
        for (int i = 1; i <= 8; ++i)
            headlines.append({u"局%1"_s.arg(i), u"http://127.0.0.1:9/"_s, u"<a>"_s, u"</a>"_s});
        rig.menu.SetHeadlines(headlines.mid(0, 3));
        QCOMPARE(rig.menu.NewsPage().items,
                 (QStringList{u"局1"_s, u"局2"_s, {}, {}, {}, {}, u"あとにする"_s}));
        rig.menu.SetHeadlines(headlines);
        QCOMPARE(rig.menu.NewsPage().items.mid(5), (QStringList{u"局6"_s, u"あとにする"_s}));
        rig.menu.ItemClicked(u"局7"_s);
        QCOMPARE(rig.mainBalloon.Message(), u"\"局7\" に接続しています・・・"_s);
        rig.talk.Web().Reader().Abort();
    }

    void launcherLineWaitsForTheLauncher() {
        MenuRig rig;
        QCOMPARE(rig.menu.ServicesPage().disabled, (QList<int>{2}));
        int opened = 0;
        rig.menu.openLauncher = [&] { ++opened; };
        QVERIFY(rig.menu.ServicesPage().disabled.isEmpty());
        rig.menu.ItemClicked(rig.menu.ServicesPage().items[2]);
        QCOMPARE(opened, 1);
        QCOMPARE(rig.played, QStringList{u"\\hランチャー起動！"_s});
    }

    // The announcement is said first; its end opens the panel of the engine, and OK hands the
    // words and the selected option on.
    void searchPanelPerEngine_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<SearchEngine>("engine");
        QTest::addColumn<SearchPanelSetup::Options>("options");
        QTest::addColumn<int>("preset");
        QTest::addColumn<bool>("inputMethod");
        QTest::addColumn<QString>("text");
        using O = SearchPanelSetup::Options;
        QTest::newRow("Google") << u"Google"_s << SearchEngine::Google << O::GoogleModes << 0
                                << true << QString();
        QTest::newRow("goo") << u"goo 便利ツール"_s << SearchEngine::GooDic << O::GooDictionaries
                             << 2 << true << QString();
        QTest::newRow("BABYLON") << u"BABYLON"_s << SearchEngine::Babylon << O::None << 0 << false
                                 << QString();
        QTest::newRow("Archive") << u"Internet Archive"_s << SearchEngine::Archive << O::None << 0
                                 << false << u"http://"_s;
    }
    void searchPanelPerEngine() {
        QFETCH(QString, item);
        QFETCH(QString, text);
        MenuRig rig;
        rig.talk.OpenMenu();
        rig.menu.ItemClicked(item);
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Search));
        rig.RunToEnd();
        QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Search));
        QVERIFY(rig.ctx.flags.balloonHold);
        QTEST(rig.play.Engine(), "engine");
        const SearchPanelSetup& panel = rig.mainBalloon.search;
        QCOMPARE(panel.title, BalloonMenu::SearchSetup(rig.play.Engine()).title);
        QTEST(panel.options, "options");
        QTEST(panel.preset, "preset");
        QTEST(panel.inputMethod, "inputMethod");
        QCOMPARE(panel.text, text);

        rig.mainBalloon.search.text += u"word"_s;
        rig.menu.SearchOk(false);
        QCOMPARE(rig.mainBalloon.searchMark, 1);
        QVERIFY(!rig.ctx.flags.balloonHold);
        QCOMPARE(rig.played.last(), u"\\h検索！"_s);
        rig.talk.Web().Reader().Abort();
    }
};

QTEST_GUILESS_MAIN(TestBalloonMenu)
#include "test_balloon_menu.moc"
