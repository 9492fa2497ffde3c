#include "app/shell.h"

#include "app/shell_commands.h"
#include "app/shell_lifecycle.h"
#include "app/shell_parts.h"
#include "app/shell_talk.h"
#include "app/shell_tools.h"
#include "app/shell_views.h"
#include "engine/engine.h"
#include "script/script_player.h"
#include "talk/talk_engine.h"

namespace orvanel {

Shell::Shell(AppContext& ctx, MessageBoxes& boxes, Options options)
    : parts_(std::make_unique<ShellParts>(ctx, boxes)),
      views_(std::make_unique<ShellViews>(
          *parts_, ShellViews::Hooks{[this](Outcome o) { return lifecycle_->Survive(o); },
                                     [this] { lifecycle_->Close(); },
                                     [this] { return lifecycle_->LoadFellow(); },
                                     [this] { tools_->CloseDebugWindow(); }})),
      lifecycle_(std::make_unique<ShellLifecycle>(*parts_, *views_, options.port)),
      commands_(std::make_unique<ShellCommands>(*parts_, *views_, *lifecycle_)),
      tools_(std::make_unique<ShellTools>(*parts_, *views_, *commands_)) {
    lifecycle_->openDebugWindow = [this] { tools_->OpenDebugWindowAtStart(); };
    ShellParts& p = *parts_;
    p.engine->SetViews(&p.mainBalloon, &p.fellowBalloon, views_.get());
    p.engine->AttachTimer(*views_);
    ScriptPlayer& player = p.engine->Player();
    p.mainBalloon.onClick = [&player] { player.Click(); };
    p.fellowBalloon.onClick = [&player] { player.Click(); };
    ShellTalk& talk = *p.talk;
    p.mainBalloon.hooks.answerChosen = [&talk](int choice) { talk.AnswerChosen(choice); };
    p.mainBalloon.hooks.learnWord = [&talk](const QString& word) { talk.LearnWord(word); };
    p.mainBalloon.hooks.nagTalk = [&talk] { talk.NagTalk(); };
    // The balloon menu and the search panel (what they start plays at once, as every script).
    BalloonMenu& menu = p.engine->Talk().Menu();
    p.mainBalloon.hooks.menuItem = [&menu](const QString& caption) { menu.ItemClicked(caption); };
    p.mainBalloon.hooks.menuHover = [&menu](int index) { menu.Hovered(index); };
    p.mainBalloon.hooks.searchOk = [&menu](bool fromEnter) { menu.SearchOk(fromEnter); };
    p.mainBalloon.hooks.searchCancel = [&menu] { menu.SearchCancel(); };
}

// The commands and sequences go before the windows they work on.
Shell::~Shell() = default;

bool Shell::Start() {
    return lifecycle_->Start();
}

void Shell::Close(int exitCode) {
    lifecycle_->Close(exitCode);
}

Engine& Shell::Core() const {
    return *parts_->engine;
}

bool Shell::Closed() const {
    return parts_->closed;
}

int Shell::ExitCode() const {
    return parts_->exitCode;
}

} // namespace orvanel
