#include "talk/web_talk.h"

#include "core/app_context.h"
#include "core/views.h"
#include "net/web_services.h"
#include "script/script_player.h"
#include "talk/talk_context.h"

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

QString Quoted(const QString& name) {
    return u'"' + name + u'"';
}

} // namespace

WebTalk::WebTalk(TalkContext& talk) : talk_(talk), reader_(talk.app) {}

QString WebTalk::NewsScript(const QString& name, const QString& text) {
    return Quoted(name) + u" の最新情報いきま～す！\\w8\\w8\\uおう。\\w8\\w8\\_e\\h\\c"_s + text +
           u"\\n\\w8\\w8\\uむぅ。"_s;
}

void WebTalk::ReadNews(const Headline& source) {
    ShowTextNow(talk_, Quoted(source.name) + u" に接続しています・・・"_s);
    reader_.FetchPagePart(
        source, [this](const QString& text) { ShowProgress(text); },
        [this, name = source.name](const QString& text) {
            talk_.player.PlayScript(NewsScript(name, text), ScriptOrigin::Menu);
        });
}

WebTalk::Pressed WebTalk::SearchOk(const QString& text, int option, bool fromEnter) {
    RunFlags& flags = talk_.app.flags;
    MainBalloonView* main = talk_.views.mainBalloon;
    if (text.isEmpty()) {
        talk_.player.PlayScript(fromEnter ? u"･･･検索を中止します。"_s
                                          : u"･･･検索を中止します。\\w8\\w8\\u･･･飽きられたか？"_s,
                                ScriptOrigin::Menu);
        flags.balloonHold = false;
        if (main) main->Hide();
        return Pressed::Cancel;
    }
    talk_.player.PlayScript(u"\\h検索！"_s, ScriptOrigin::Menu);
    talk_.play.ForeMenu(BalloonPanel::None);
    switch (talk_.play.Engine()) {
    case SearchEngine::Google:
        SearchGoogle(talk_.app, text, option);
        if (main) main->Hide();
        break;
    case SearchEngine::GooDic:
        LookUpGooDictionary(talk_.app, text, option);
        if (main) main->Hide();
        break;
    case SearchEngine::Archive:
        OpenArchive(talk_.app, text);
        if (main) main->Hide();
        break;
    case SearchEngine::Babylon:
        ShowTextNow(talk_, u"\"BABYLON\" に接続しています・・・"_s);
        reader_.LookUpBabylon(
            text, [this](const QString& progress) { ShowProgress(progress); },
            [this](const QString& meaning) {
                talk_.player.PlayScript(meaning + u"\\n\\n\\w8\\w8\\uなるほどな。"_s,
                                        ScriptOrigin::Menu);
            });
        break;
    }
    flags.balloonHold = false;
    return Pressed::Ok;
}

void WebTalk::SearchCancel() {
    talk_.player.PlayScript(u"･･･検索を中止します。\\w8\\w8\\u･･･飽きられたか？"_s,
                            ScriptOrigin::Menu);
    talk_.app.flags.balloonHold = false;
}

void WebTalk::ShowProgress(const QString& text) {
    MainBalloonView* main = talk_.views.mainBalloon;
    // Once the user has started something else (a script, a panel) the download keeps quiet.
    if (!main || talk_.player.IsRunning()) return;
    for (BalloonPanel panel :
         {BalloonPanel::Select, BalloonPanel::Menu, BalloonPanel::Teach, BalloonPanel::Search})
        if (main->IsPanelVisible(panel)) return;
    talk_.app.flags.mainBalloonCounter = 0;
    main->Show();
    main->SetMessage(text);
}

} // namespace orvanel
