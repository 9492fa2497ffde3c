#include "engine/engine.h"

#include "character/skin.h"
#include "core/app_context.h"
#include "core/geometry.h"
#include "platform/archive.h"
#include "platform/clock.h"
#include "platform/linux/linux_machine_probes.h"
#include "platform/linux/x11_desktop.h"
#include "script/play_state.h"
#include "script/scenario_files.h"
#include "script/script_player.h"
#include "script/script_probes.h"
#include "talk/dictionary.h"
#include "talk/talk_engine.h"
#include "talk/word_decoration.h"
#include "tools/script_log.h"
#include "tools/trace_log.h"
#include "watch/main_timer.h"
#include "watch/system_events.h"
#include "watch/window_watch.h"

using namespace Qt::StringLiterals;

namespace orvanel {

Engine::Engine(AppContext& ctx) : Engine(ctx, Parts{}) {}

Engine::Engine(AppContext& ctx, Parts parts) : ctx_(ctx) {
    if (!parts.machine) ownMachine_ = std::make_unique<LinuxMachineProbes>();
    machine_ = parts.machine ? parts.machine : ownMachine_.get();
    if (!parts.probes) systemProbes_ = std::make_unique<SystemScriptProbes>(*machine_);
    probes_ = parts.probes ? parts.probes : systemProbes_.get();
    play_ = std::make_unique<PlayState>();
    scenario_ = std::make_unique<ScenarioFiles>(ctx.settings, ctx.log, ctx.random);
    dictionary_ = std::make_unique<Dictionary>(ctx.settings, ctx.random);
    decorator_ = std::make_unique<WordDecorator>(*dictionary_, ctx.random);
    source_ = parts.words ? parts.words : decorator_.get();
    player_ = std::make_unique<ScriptPlayer>(ctx, *play_, *source_, *scenario_, *probes_);
    // The talk engine takes the player's "$learn" and trash hooks.
    talk_ = std::make_unique<TalkEngine>(ctx, *play_, *player_, *dictionary_, *source_, *scenario_,
                                         *probes_, *machine_);
    talk_->Bulk().extractArchive = [](const QString& archive, const QString& folder) {
        return ExtractArchive(archive, folder).error;
    };
    if (!parts.windows)
        ownWindows_ =
            std::make_unique<X11Desktop>([&ctx](const QString& line) { ctx.log.LogLine(line); });
    windowWatch_ = std::make_unique<WindowWatch>(ctx, *dictionary_,
                                                 parts.windows ? *parts.windows : *ownWindows_);
    talk_->Machine().knownSoftwareTalk = [this] { return windowWatch_->KnownSoftwareTalk(); };
}

Engine::~Engine() = default;

void Engine::SetViews(MainBalloonView* mainBalloon, BalloonView* fellowBalloon,
                      CharacterView* character) {
    mainBalloon_ = mainBalloon;
    fellowBalloon_ = fellowBalloon;
    character_ = character;
    play_->SetViews(mainBalloon, character);
    player_->SetViews(mainBalloon, fellowBalloon, character);
    talk_->SetViews(mainBalloon, fellowBalloon, character);
}

MainTimer& Engine::AttachTimer(TimerHost& host) {
    Q_ASSERT(mainBalloon_ && fellowBalloon_ && character_);
    timer_ = std::make_unique<MainTimer>(ctx_, *player_, *source_, host, *windowWatch_,
                                         *mainBalloon_, *fellowBalloon_, *character_);
    events_ = std::make_unique<SystemEvents>(ctx_, *player_, host);
    return *timer_;
}

void Engine::RecordScripts(ScriptLog& log) {
    player_->hooks.handed = [&log](const QString& script, ScriptOrigin origin) {
        log.Append(script, OriginName(origin));
    };
}

void Engine::ReloadScriptFiles() {
    scenario_->LoadExternalScripts(SkinFolderPrefix(ctx_),
                                   ReadSkinValue(ctx_, u"Script"_s, u"ScriptFile"_s));
    scenario_->LoadScenario();
    scenario_->LoadIdRelation();
}

void Engine::UpdateProbes(QRect screen) {
    if (!systemProbes_) return;
    SystemScriptProbes::SkinNames names;
    names.selfCall = ctx_.skin.hSelfName;
    names.selfName = ctx_.skin.hCallName;
    names.fellowName = ctx_.skin.fCallName;
    systemProbes_->SetSkinNames(names);
    systemProbes_->SetScreenTwips(qint64(screen.width()) * kTwipsPerPixel,
                                  qint64(screen.height()) * kTwipsPerPixel);
}

std::optional<qint64> RunToEnd(ScriptPlayer& player, VirtualClock& clock, const AppContext& ctx,
                               qint64 maxSteps) {
    const qint64 start = clock.ElapsedMs();
    qint64 end = start;
    for (qint64 steps = 0; player.IsRunning(); ++steps) {
        if (steps == maxSteps) return std::nullopt;
        clock.Advance(quint32(ctx.flags.timerInterval));
        player.StepScript();
        end = clock.ElapsedMs();
    }
    return end - start;
}

std::optional<qint64> PlayToEnd(ScriptPlayer& player, VirtualClock& clock, const AppContext& ctx,
                                const QString& script, qint64 maxSteps) {
    player.PlayScript(script);
    return RunToEnd(player, clock, ctx, maxSteps);
}

} // namespace orvanel
