#include "talk/balloon_menu.h"

#include "core/app_context.h"
#include "script/play_state.h"
#include "script/script_player.h"
#include "script/word_source.h"
#include "talk/dictionary.h"
#include "talk/talk_context.h"
#include "talk/talk_engine.h"
#include "tools/trace_log.h"

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

const QString kLauncher = u"SystemLaunch for TOMUを起動"_s;
// The pause before a page that leads further, so the click is seen to have taken.
constexpr quint32 kPageWaitMs = 150;
constexpr quint32 kSearchPanelWaitMs = 250;

} // namespace

BalloonMenu::BalloonMenu(TalkContext& talk, TalkEngine& engine) : talk_(talk), engine_(engine) {}

MenuPage BalloonMenu::FirstPage() {
    return {talk_.words.GetWord(u"呼び出し"_s),
            {u"何か話して"_s, u"最新ニュース"_s, u"インターネット検索"_s, u"何か格言"_s, u"学習"_s,
             u"次のページへ"_s, u"なんでもない"_s},
            {}};
}

MenuPage BalloonMenu::NewsPage(const QList<Headline>& headlines) {
    QStringList items(kLines);
    // Only six sources have room; the original wrote a seventh over "あとにする".
    for (qsizetype i = 1; i < headlines.size() && i <= kNewsLines; ++i)
        items[i - 1] = headlines[i].name;
    items[kLines - 1] = u"あとにする"_s;
    return {u"どこを見る～？"_s, items, {}};
}

MenuPage BalloonMenu::SearchPage() {
    return {u"どれにする～？"_s,
            {u"Google"_s,
             u"goo 便利ツール"_s,
             u"BABYLON"_s,
             u"Internet Archive"_s,
             {},
             {},
             u"また今度"_s},
            {}};
}

MenuPage BalloonMenu::SecondPage() {
    return {u"つづき～。"_s,
            {u"やって欲しいことが・・・"_s,
             u"スケジュール"_s,
             u"動物占い"_s,
             u"今日は何の日？"_s,
             u"現在の単語数"_s,
             {},
             u"なんでもない"_s},
            {}};
}

MenuPage BalloonMenu::ServicesPage() const {
    MenuPage page{u"何をすればいいの～？"_s,
                  {u"ごみ箱を空に"_s,
                   u"最近使ったファイルのクリア"_s,
                   kLauncher,
                   {},
                   {},
                   u"Windowsの終了"_s,
                   u"また今度"_s},
                  {}};
    if (!openLauncher) page.disabled.append(2);
    return page;
}

void BalloonMenu::ShowPage(const MenuPage& page) {
    if (MainBalloonView* main = talk_.views.mainBalloon) {
        main->SetMenuPage(page);
        main->SetPanelVisible(BalloonPanel::Menu, true);
    }
}

void BalloonMenu::OpenMenu() {
    AppContext& app = talk_.app;
    app.flags.mainBalloonCounter = 0;
    MainBalloonView* main = talk_.views.mainBalloon;
    if (main) main->MarkMenuItem(-1);
    app.flags.balloonHold = false;
    talk_.play.CancelWSF();
    // A page that arrives late must not replace the menu.
    engine_.Web().Reader().Abort();
    if (main) main->SetMessage({});
    const MenuPage first = FirstPage();
    talk_.play.ForeMenu(BalloonPanel::Menu);
    ShowPage(first);
    if (main) main->Show();
    talk_.player.Stop();
}

void BalloonMenu::Hovered(int index) {
    if (MainBalloonView* main = talk_.views.mainBalloon) main->MarkMenuItem(index);
    talk_.app.flags.mainBalloonCounter = 0;
}

void BalloonMenu::Play(const QString& script) {
    talk_.player.PlayScript(script, ScriptOrigin::Menu);
}

void BalloonMenu::Announce(const QString& script, FinishAction then) {
    Play(script);
    talk_.play.WaitThen(then);
}

void BalloonMenu::ItemClicked(const QString& item) {
    MainBalloonView* main = talk_.views.mainBalloon;
    if (main) {
        main->SetPanelVisible(BalloonPanel::Menu, false);
        main->SetMessage({});
    }
    if (item.isEmpty()) {
        if (main) main->SetPanelVisible(BalloonPanel::Menu, true);
        return;
    }
    const auto page = [this](const MenuPage& next) {
        talk_.app.Wait(kPageWaitMs);
        ShowPage(next);
    };
    if (item == u"何か話して") {
        engine_.RandomTalk();
    } else if (item == u"最新ニュース") {
        page(NewsPage());
    } else if (item == u"インターネット検索") {
        page(SearchPage());
    } else if (item == u"Google") {
        Announce(u"\\hGoogle検索～。"_s, FinishAction::SearchGoogle);
    } else if (item == u"goo 便利ツール") {
        Announce(u"\\hgoo 便利ツールです。\\w8\\w8\\n\\n 検索する辞書を選択してください。"_s,
                 FinishAction::SearchGooDic);
    } else if (item == u"BABYLON") {
        Announce(u"\\hBABYLON 英和辞典だよ～。"_s, FinishAction::SearchBabylon);
    } else if (item == u"Internet Archive") {
        Announce(u"\\h検索するURLを入力してください。"_s, FinishAction::SearchArchive);
    } else if (item == u"何か格言") {
        engine_.MaximTalk();
    } else if (item == u"学習") {
        engine_.LearningTalk();
    } else if (item == u"次のページへ") {
        page(SecondPage());
    } else if (item == u"やって欲しいことが・・・") {
        page(ServicesPage());
    } else if (item == u"スケジュール") {
        engine_.ScheduleTalk();
    } else if (item == u"動物占い") {
        engine_.FortuneTalk();
    } else if (item == u"今日は何の日？") {
        engine_.TodayTalk();
    } else if (item == u"現在の単語数") {
        Play(u"\\h"_s + QString::number(talk_.dictionary.TotalWordCount()) +
             u"語だよ～。\\w8\\w8\\uまだまだやね。"_s);
    } else if (item == u"ごみ箱を空に") {
        Announce(u"\\hよっこいしょ。"_s, FinishAction::DelDustBox);
    } else if (item == u"最近使ったファイルのクリア") {
        engine_.Ask(u"\\h「最近使ったファイル」の内容をクリアしますか？"_s, u"うん"_s, u"ダメ"_s,
                    ChoiceTopic::RecDel, ChoicePosition::Top);
    } else if (item == kLauncher) {
        if (!openLauncher) return;
        openLauncher();
        Play(u"\\hランチャー起動！"_s);
    } else if (item == u"Windowsの終了") {
        engine_.Ask(u"\\hWindowsを終了しますか？"_s, u"する"_s, u"しない"_s, ChoiceTopic::ExitWin,
                    ChoicePosition::Top);
    } else if (item == u"あとにする" || item == u"なんでもない" || item == u"また今度" ||
               item == u"やっぱりいい") {
        engine_.DismissTalk(item);
    } else {
        for (qsizetype i = 1; i < headlines_.size(); ++i) {
            if (headlines_[i].name == item) {
                engine_.Web().ReadNews(headlines_[i]);
                return;
            }
        }
        talk_.app.log.LogLine(u"BalloonMenu: no action for "_s + item);
    }
}

SearchPanelSetup BalloonMenu::SearchSetup(SearchEngine engine) {
    using Options = SearchPanelSetup::Options;
    switch (engine) {
    case SearchEngine::Google:
        return {u"検索 - Google"_s, Options::GoogleModes, 0, true, {}};
    case SearchEngine::GooDic:
        return {u"goo 便利ツール"_s, Options::GooDictionaries, 2, true, {}};
    case SearchEngine::Babylon:
        return {u"BABYLON - 英和 "_s, Options::None, 0, false, {}};
    case SearchEngine::Archive:
        return {u"Internet Archive"_s, Options::None, 0, false, u"http://"_s};
    }
    return {};
}

void BalloonMenu::OpenSearchPanel(SearchEngine engine) {
    talk_.app.Wait(kSearchPanelWaitMs);
    // Idle talk stays away while the user types.
    talk_.app.flags.balloonHold = true;
    talk_.play.SetEngine(engine);
    MainBalloonView* main = talk_.views.mainBalloon;
    if (main) main->SetUpSearchPanel(SearchSetup(engine));
    talk_.play.ForeMenu(BalloonPanel::Search);
    if (main) main->FocusSearch();
}

void BalloonMenu::SearchOk(bool fromEnter) {
    MainBalloonView* main = talk_.views.mainBalloon;
    if (!main) return;
    const WebTalk::Pressed pressed =
        engine_.Web().SearchOk(main->SearchText(), main->SearchOption(), fromEnter);
    main->MarkSearchButton(pressed == WebTalk::Pressed::Ok);
}

void BalloonMenu::SearchCancel() {
    engine_.Web().SearchCancel();
}

} // namespace orvanel
