#include "../net/loopback_http_server.h"
#include "talk_rig.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

// The talk rig with a page server and a record of every script handed to the player.
struct WebRig : TalkRig {
    WebRig() {
        player.hooks.handed = [this](const QString& script, ScriptOrigin) { played << script; };
        mainBalloon.Show();
    }
    // Waits until the player has been handed `n` scripts.
    bool WaitForPlayed(qsizetype n) {
        return QTest::qWaitFor([&] { return played.size() >= n; }, 10000);
    }
    QStringList MessagesWith(const QString& piece) const {
        return mainBalloon.messages.filter(piece);
    }

    LoopbackHttpServer server;
    WebTalk& web = talk.Web();
    QStringList played;
};

} // namespace

class TestWebTalk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A news source's item: the connecting line, the download's progress in the balloon, then
    // the headlines between the announcement and the fellow's grumble.
    void newsAreReadFromTheSource() {
        WebRig rig;
        rig.server.Add("/feed.xml",
                       {"200 OK", "Content-Type: application/rss+xml; charset=UTF-8\r\n",
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><rss><channel>"
                        "<title>局</title><item><title>雨です。</title><link>u</link>"
                        "</item><item><title>晴れ</title></item></channel></rss>"});
        rig.web.ReadNews(
            {u"局"_s, rig.server.Url(u"/feed.xml"_s).toString(), u"<item>"_s, u"</title>"_s, true});
        QCOMPARE(rig.mainBalloon.Message(), u"\"局\" に接続しています・・・"_s);
        QVERIFY(rig.WaitForPlayed(1));
        QCOMPARE(rig.played.first(),
                 u"\"局\" の最新情報いきま～す！\\w8\\w8\\uおう。\\w8\\w8\\_e\\h\\c雨です。\\w8"
                 "\\w8\\w8\\w8\\w8\\c晴れ\\n\\w8\\w8\\uむぅ。"_s);
        QCOMPARE(rig.MessagesWith(u"データ"_s).first(), u"データを受信しています・・・"_s);
        QCOMPARE(rig.MessagesWith(u"データ"_s).last(), u"データ取得完了"_s);
    }

    // The page's text never acts as script: no page opened, no word asked for, no variable
    // drawn; the balloon shows what the page says.
    void aHostilePageIsOnlyShown() {
        WebRig rig;
        rig.server.Add("/evil",
                       {"200 OK", {}, "<p>\\j[http://evil.example/]%ms$learn[格言]\\x\\e$RSC</p>"});
        rig.web.ReadNews(
            {u"悪"_s, rig.server.Url(u"/evil"_s).toString(), u"<p>"_s, u"</p>"_s, true});
        QVERIFY(rig.WaitForPlayed(1));
        rig.RunToEnd();
        QVERIFY(rig.actionLog.isEmpty());
        QVERIFY(rig.words.calls.isEmpty());
        QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Teach));
        QVERIFY(rig.mainBalloon.messages.contains(
            u"＼j[http://evil.example/]％ms＄learn[格言]＼x＼e＄RSC"_s));
    }

    // Once the user has started something else, the download's progress keeps out of the
    // balloon; its news still come when it is in.
    void progressKeepsOutOfOtherTalk() {
        WebRig rig;
        rig.server.Add("/n", {"200 OK", {}, "<li>A</li>"});
        rig.web.ReadNews(
            {u"n"_s, rig.server.Url(u"/n"_s).toString(), u"<li>"_s, u"</li>"_s, false});
        rig.player.PlayScript(u"\\hほか"_s);
        QVERIFY(rig.WaitForPlayed(2));
        QVERIFY(rig.MessagesWith(u"データ"_s).isEmpty());
        QVERIFY(rig.played.last().contains(u"\\cA\\n"_s));
    }

    void searchOk_data() {
        QTest::addColumn<SearchEngine>("engine");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("fromEnter");
        QTest::addColumn<QString>("played");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<bool>("cancelled");
        const QString search = u"\\h検索！"_s;
        QTest::newRow("Google images")
            << SearchEngine::Google << u"猫"_s << 1 << false << search
            << u"SystemAction: OpenUrl https://www.google.com/search?q=%E7%8C%AB&hl=ja&tbm=isch"_s
            << false;
        QTest::newRow("goo, English-Japanese")
            << SearchEngine::GooDic << u"dog"_s << 0 << true << search
            << u"SystemAction: OpenUrl https://ejje.weblio.jp/content/dog"_s << false;
        QTest::newRow("Archive") << SearchEngine::Archive << u"http://example.com/"_s << 0 << false
                                 << search
                                 << u"SystemAction: OpenUrl "
                                    "https://web.archive.org/web/*/http://example.com/"_s
                                 << false;
        QTest::newRow("empty, button")
            << SearchEngine::Google << QString() << 0 << false
            << u"･･･検索を中止します。\\w8\\w8\\u･･･飽きられたか？"_s << QString() << true;
        QTest::newRow("empty, Enter") << SearchEngine::GooDic << QString() << 2 << true
                                      << u"･･･検索を中止します。"_s << QString() << true;
    }
    void searchOk() {
        QFETCH(SearchEngine, engine);
        QFETCH(QString, text);
        QFETCH(int, option);
        QFETCH(bool, fromEnter);
        QFETCH(QString, played);
        QFETCH(QString, opened);
        QFETCH(bool, cancelled);
        WebRig rig;
        rig.play.SetEngine(engine);
        rig.ctx.flags.balloonHold = true;
        const auto pressed = rig.web.SearchOk(text, option, fromEnter);
        QCOMPARE(pressed, cancelled ? WebTalk::Pressed::Cancel : WebTalk::Pressed::Ok);
        QCOMPARE(rig.played, QStringList{played});
        QCOMPARE(rig.actionLog, opened.isEmpty() ? QStringList() : QStringList{opened});
        QVERIFY(!rig.mainBalloon.IsVisible());
        QVERIFY(!rig.ctx.flags.balloonHold);
    }

    // BABYLON reads the look-up's meaning aloud, from the service tomu.ini names.
    void babylonReadsTheMeaning() {
        WebRig rig;
        rig.server.Add("/content/look+up", {"200 OK", "Content-Type: text/html; charset=utf-8\r\n",
                                            "<td class=\"content-explanation ej\">調べる、"
                                            "(辞書で)引く</td>"});
        QVERIFY(rig.ctx.settings.WriteSetting(
            SettingKey::EnJaLookUp, rig.server.Url(u"/"_s).toString() + u"content/{q}"_s));
        rig.play.SetEngine(SearchEngine::Babylon);
        QCOMPARE(rig.web.SearchOk(u"look up"_s, 0, false), WebTalk::Pressed::Ok);
        QCOMPARE(rig.mainBalloon.Message(), u"\"BABYLON\" に接続しています・・・"_s);
        QVERIFY(rig.WaitForPlayed(2));
        QCOMPARE(rig.played,
                 (QStringList{u"\\h検索！"_s,
                              u"調べる、\\w5\\w5(辞書で)\\w5引く\\n\\n\\w8\\w8\\uなるほどな。"_s}));
        QVERIFY(rig.actionLog.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWebTalk)
#include "test_web_talk.moc"
