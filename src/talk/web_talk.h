#pragma once

#include "core/headlines.h"
#include "net/web_reader.h"
#include "script/play_state.h"

#include <QString>

namespace orvanel {

struct TalkContext;

// The web as the balloon menu and its search panel use it. The windows call these; what is
// said goes through the player, progress through the main balloon's view.
//
// - A news source's item of the menu: ReadNews(source).
// - The search panel's OK button or Enter: SearchOk(text, option, fromEnter); its cancel
//   button: SearchCancel(). The engine is the play state's (set when the panel opened).
class WebTalk {
public:
    explicit WebTalk(TalkContext& talk);

    // Shows "\"<name>\" に接続しています・・・" at once, fetches the source's page (the
    // progress texts replace that line while nothing else has taken the balloon) and, when it
    // is in, plays "\"<name>\" の最新情報いきま～す！...\c" + the page's script + "...むぅ。".
    // A failed fetch plays the same lines around an empty text; no connection puts
    // WebReader::NoConnectionScript() in its place. Another request abandons this one.
    void ReadNews(const Headline& source);
    static QString NewsScript(const QString& name, const QString& text);

    // Which button of the search panel the window colours light red.
    enum class Pressed { Ok, Cancel };
    // The search panel's OK with the text of txtSearch. `option` is the index of the first
    // selected option of the engine's frame: the Google mode 0..2 (3 when none) or the goo
    // dictionary 0..3 (4 when none). An empty text cancels (Enter says the shorter line) and
    // hides the main balloon. Otherwise "\h検索！" and the engine: Google, goo and Archive
    // open the browser and hide the main balloon; BABYLON shows
    // "\"BABYLON\" に接続しています・・・" and plays the look-up + "...なるほどな。" when it is
    // in. The balloon hold flag is cleared in every case.
    Pressed SearchOk(const QString& text, int option, bool fromEnter);
    // The search panel's cancel button.
    void SearchCancel();

    WebReader& Reader() { return reader_; }

private:
    // A progress text of the download, while the balloon still shows the download's texts.
    void ShowProgress(const QString& text);

    TalkContext& talk_;
    WebReader reader_;
};

} // namespace orvanel
