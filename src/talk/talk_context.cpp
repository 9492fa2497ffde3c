#include "talk/talk_context.h"

#include "core/app_context.h"
#include "core/views.h"
#include "platform/random.h"
#include "script/play_state.h"
#include "script/script_player.h"
#include "script/script_probes.h"

namespace orvanel {

int TalkContext::Pick(int n) {
    return qBound(1, app.random.Pick(n), qMax(1, n));
}

double TalkContext::Next() {
    return app.random.Next();
}

void TalkContext::ShowSurface(int n, bool hold) {
    if (views.character) views.character->ShowSurface(n, hold);
}

QString TalkContext::SelfCall() const {
    return skin.SelfCall();
}

void ShowTextNow(TalkContext& talk, const QString& text) {
    talk.player.ResetTalk();
    if (talk.views.character) talk.views.character->BringToForeground();
    const bool fellow = text.startsWith(u"\\u");
    BalloonView* main = talk.views.mainBalloon;
    BalloonView* shown = fellow ? talk.views.fellowBalloon : main;
    BalloonView* other = fellow ? main : talk.views.fellowBalloon;
    if (shown) {
        shown->Show();
        shown->Activate();
    }
    talk.play.SetMsgScope(fellow ? Speaker::Fellow : Speaker::Main);
    if (other) other->Hide();
    talk.player.Stop();
    if (main) main->SetMessage(text);
}

} // namespace orvanel
