#include "talk/talk_engine.h"

#include "core/app_context.h"
#include "core/views.h"
#include "script/play_state.h"
#include "script/script_player.h"

namespace orvanel {

TalkEngine::TalkEngine(AppContext& app, PlayState& play, ScriptPlayer& player,
                       Dictionary& dictionary, WordSource& words, ScenarioFiles& scenario,
                       ScriptProbes& skin, MachineProbes& machine)
    : ctx_{app, play, player, dictionary, words, scenario, skin, machine, {}}, questions_(ctx_),
      learning_(ctx_), calendar_(ctx_), machine_(ctx_, questions_), menu_(ctx_, calendar_),
      maker_(ctx_, learning_, questions_, calendar_, machine_), bulk_(ctx_), web_(ctx_),
      balloonMenu_(ctx_, *this), touch_(ctx_, questions_), drops_(ctx_, bulk_) {
    touch_.randomTalk = [this] { RandomTalk(ScriptOrigin::Touch); };
    touch_.openMenu = [this] { OpenMenu(); };
    player.hooks.startLearning = [this](const QString& category) {
        learning_.StartLearning(category);
    };
    player.hooks.emptyRecycleBin = [this] { orvanel::EmptyRecycleBin(ctx_); };
    player.hooks.openSearchPanel = [this](SearchEngine engine) {
        balloonMenu_.OpenSearchPanel(engine);
    };
}

void TalkEngine::SetViews(MainBalloonView* mainBalloon, BalloonView* fellowBalloon,
                          CharacterView* character) {
    ctx_.views = {mainBalloon, fellowBalloon, character};
}

void TalkEngine::Say(const std::function<QString()>& make, ScriptOrigin origin) {
    ctx_.player.PlayMade(make, origin);
}

void TalkEngine::RandomTalk(ScriptOrigin origin) {
    RunFlags& flags = ctx_.app.flags;
    if (flags.silent) return;
    ctx_.ShowSurface(1, false);
    if (flags.balloonHold) return;
    if (ctx_.views.mainBalloon) ctx_.views.mainBalloon->Show();
    // PlayScript raises both balloons, gives the activation back, counts the talk, resets the
    // panels, hides the fellow's balloon and lets the balloon go.
    Say([this] { return maker_.MakeRandomTalk(); }, origin);
}

void TalkEngine::Ask(const QString& question, const QString& positive, const QString& negative,
                     ChoiceTopic topic, ChoicePosition position) {
    ctx_.player.PlayScript(question);
    questions_.OfferChoice(positive, negative, topic, position);
}

void TalkEngine::LearningTalk() {
    Say([this] { return learning_.LearningQuestion(); });
}

void TalkEngine::MaximTalk() {
    Say([this] { return menu_.MaximTalk(); });
}

void TalkEngine::ScheduleTalk() {
    Say([this] { return menu_.ScheduleTalk(); });
}

void TalkEngine::FortuneTalk() {
    Say([this] { return menu_.FortuneTalk(); });
}

void TalkEngine::TodayTalk() {
    Say([this] { return menu_.TodayTalk(); });
}

void TalkEngine::DismissTalk(const QString& item) {
    Say([&] { return menu_.DismissTalk(item); });
}

void TalkEngine::SystemTopic(int k) {
    Say([&] { return machine_.Topic(k); });
}

} // namespace orvanel
