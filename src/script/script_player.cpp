#include "script/script_player.h"

#include "core/app_context.h"
#include "core/views.h"
#include "platform/system_actions.h"
#include "script/play_state.h"
#include "script/scenario_files.h"
#include "tools/trace_log.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

bool IsAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

ScriptPlayer::ScriptPlayer(AppContext& ctx, PlayState& frame, WordSource& words,
                           ScenarioFiles& scenario, ScriptProbes& probes)
    : ctx_(ctx), state_(frame), scenario_(scenario), variables_(ctx, words, scenario, probes) {}

void ScriptPlayer::SetViews(MainBalloonView* mainBalloon, BalloonView* fellowBalloon,
                            CharacterView* character) {
    main_ = mainBalloon;
    fellow_ = fellowBalloon;
    character_ = character;
}

bool ScriptPlayer::IsRunning() const {
    return ctx_.flags.scriptRunning;
}

void ScriptPlayer::Stop() {
    ctx_.flags.scriptRunning = false;
}

void ScriptPlayer::Click() {
    ctx_.flags.waitCancel = true;
    ctx_.flags.click = true;
    if (main_) main_->SetWaitMarkerVisible(false);
}

QString OriginName(ScriptOrigin origin) {
    static const char16_t* const kNames[] = {u"talk", u"local",  u"remote", u"touch",
                                             u"menu", u"system", u"debug"};
    return QString::fromUtf16(kNames[int(origin)]);
}

void ScriptPlayer::PlayScript(const QString& script, ScriptOrigin origin) {
    if (hooks.handed) hooks.handed(script, origin);
    if (ctx_.flags.minimized) return;
    ++generation_;
    origin_ = origin;
    const bool fellowFirst = script.startsWith(u"\\u");
    BalloonView* speaker = fellowFirst ? fellow_ : static_cast<BalloonView*>(main_);
    BalloonView* other = fellowFirst ? static_cast<BalloonView*>(main_) : fellow_;
    const quint64 wasActive = speaker ? speaker->Activate() : 0;
    state_.SetMsgScope(fellowFirst ? Speaker::Fellow : Speaker::Main);
    if (other) other->Hide();
    for (BalloonView* b : {static_cast<BalloonView*>(main_), fellow_}) {
        if (!b) continue;
        if (state_.OnTop())
            b->SetTopmost(true);
        else
            state_.RaiseBalloon(*b);
    }
    if (speaker) speaker->RestoreActivation(wasActive);
    ResetTalk();
    buffer_ = script;
    ctx_.flags.scriptRunning = true;
    state_.CancelWSF();
    pos_ = 1;
    if (hooks.started) hooks.started();
}

void ScriptPlayer::PlayMade(const std::function<QString()>& make, ScriptOrigin origin) {
    state_.CancelWSF();
    const QString script = make();
    const FinishAction action = state_.Pending();
    PlayScript(script, origin);
    state_.WaitThen(action);
}

void ScriptPlayer::ResetTalk() {
    if (main_ && !(character_ && character_->IsVisible())) main_->Hide();
    ++ctx_.flags.talkCount;
    state_.ForeMenu(BalloonPanel::None);
    msgTmpF_.clear();
    msgTmpH_.clear();
    ctx_.flags.mainBalloonCounter = 0;
    ctx_.flags.balloonHold = false;
}

void ScriptPlayer::ReplaceToken(qsizetype length, const QString& text) {
    const qsizetype at = pos_ - 1;
    if (at < 0 || at > buffer_.size()) return;
    length = qMin(length, buffer_.size() - at);
    // Removing at the front of a QString only moves its start, so long runs of tags that are
    // removed one by one at the play position stay cheap.
    if (text.isEmpty())
        buffer_.remove(at, length);
    else
        buffer_.replace(at, length, text);
}

QChar ScriptPlayer::At(qsizetype pos) const {
    return pos >= 1 && pos <= buffer_.size() ? buffer_.at(pos - 1) : QChar();
}

BalloonView* ScriptPlayer::SpeakingBalloon() const {
    return state_.MsgScope() == Speaker::Main ? static_cast<BalloonView*>(main_) : fellow_;
}

// The recursion of tag processing ("continue": the next character at once, in the same step)
// is this loop, so a long run of tags costs no stack.
void ScriptPlayer::StepScript() {
    for (;;) {
        if (!ctx_.flags.scriptRunning) return;
        const QChar c = At(pos_);
        Flow flow = Flow::EndStep;
        if (c == u'\r' || c == u'\n') {
            // Nothing is shown.
        } else if (c == u'%') {
            Expand();
        } else if (c == u'\\') {
            flow = Tag();
        } else if (c == u'$') {
            RunCommands();
        } else {
            ShowText();
        }
        switch (flow) {
        case Flow::Continue:
            continue;
        case Flow::Unrecognised:
            ShowText();
            ++pos_;
            return;
        case Flow::EndStep:
            EndOfStep();
            return;
        }
    }
}

ScriptPlayer::Flow ScriptPlayer::Tag() {
    const QChar letter = At(pos_ + 1);
    switch (letter.unicode()) {
    case u'h':
        SwitchSpeaker(main_, Speaker::Main, msgTmpF_);
        return Flow::Continue;
    case u'u':
        if (!character_ || !character_->FellowPresent()) {
            ReplaceToken(2, {});
            buffer_.truncate(pos_ - 1);
            return Flow::Continue;
        }
        SwitchSpeaker(fellow_, Speaker::Fellow, msgTmpH_);
        return Flow::Continue;
    case u'c':
        ReplaceToken(2, {});
        buffer_.remove(0, pos_ - 1);
        pos_ = 1;
        if (state_.MsgScope() == Speaker::Main) {
            if (main_) main_->SetMessage({});
            msgTmpH_.clear();
        } else {
            if (fellow_) fellow_->SetMessage({});
            msgTmpF_.clear();
        }
        return Flow::Continue;
    case u'e':
        ReplaceToken(2, {});
        buffer_.truncate(pos_ - 1);
        return Flow::Continue;
    case u'n':
        ReplaceToken(2, u"\r\n"_s);
        return Flow::Continue;
    case u'w': {
        const QChar d = At(pos_ + 2);
        if (!IsAsciiDigit(d) || d == u'0') return Flow::Unrecognised;
        ReplaceToken(3, {});
        ctx_.Wait(quint32(d.unicode() - u'0') * 50);
        return Flow::Continue;
    }
    case u's': {
        const QChar c1 = At(pos_ + 2);
        const QChar digit = At(pos_ + 3);
        if (c1 == u'[' && IsAsciiDigit(digit) && At(pos_ + 4) == u']') {
            if (character_) character_->ShowSurface(digit.unicode() - u'0' + 1, true);
            ReplaceToken(5, {});
            return Flow::Continue;
        }
        if (!IsAsciiDigit(c1)) return Flow::Unrecognised;
        if (character_) character_->ShowSurface(c1 == u'0' ? 1 : c1.unicode() - u'0', true);
        ReplaceToken(3, {});
        return Flow::Continue;
    }
    case u'x':
        ClickWait();
        return Flow::Continue;
    case u'_':
        if (At(pos_ + 2) != u'e') return Flow::Unrecognised;
        ReplaceToken(3, {});
        if (BalloonView* b = SpeakingBalloon()) b->Hide();
        return Flow::Continue;
    case u'j':
        if (At(pos_ + 2) != u'[') return Flow::Unrecognised;
        return OpenTarget();
    default:
        return Flow::Unrecognised;
    }
}

// The text before a speaker tag is taken as the other character's: "\h" files it under the
// fellow, "\u" under the main character (so "\hA\hB" leaves "A" with the fellow).
void ScriptPlayer::SwitchSpeaker(BalloonView* balloon, Speaker scope, QString& keepsShownText) {
    if (balloon) {
        balloon->Show();
        state_.RaiseBalloon(*balloon);
    }
    state_.SetMsgScope(scope);
    keepsShownText += buffer_.left(pos_ - 1);
    buffer_.remove(0, pos_ + 1);
    pos_ = 1;
}

ScriptPlayer::Flow ScriptPlayer::OpenTarget() {
    const qsizetype from = pos_ + 2; // 0-based index of the target's first character
    const qsizetype close = buffer_.indexOf(u']', from);
    if (close < 0) return Flow::Unrecognised;
    const QString target = buffer_.mid(from, close - from);
    ReplaceToken(target.size() + 4, {});
    if (origin_ == ScriptOrigin::Remote) {
        // Anyone on the network may send a script; only this machine's user may open pages.
        // The tag is dropped and the script goes on.
        ctx_.log.LogLine(u"OpenTarget refused (remote script): "_s + target);
        return Flow::Continue;
    }
    const QString url = OpenTargetUrl(target);
    if (url.isEmpty() || !ctx_.actions.OpenUrl(url)) {
        ctx_.log.LogLine(u"OpenTarget refused: "_s + target);
        PlayScript(u"\\h起動失敗～。"_s);
    }
    return Flow::Continue;
}

void ScriptPlayer::ClickWait() {
    ReplaceToken(2, {});
    const auto marker = [this](bool on) {
        if (main_) main_->SetWaitMarkerVisible(on);
    };
    marker(true);
    ctx_.flags.click = false;
    ctx_.flags.balloonHold = true;
    if (hooks.clickWaitStarted) hooks.clickWaitStarted();
    do {
        ctx_.Wait(200);
        marker(false);
        ctx_.Wait(700);
        marker(true);
    } while (!ctx_.flags.click);
    ctx_.flags.balloonHold = false;
    marker(false);
}

void ScriptPlayer::ShowText() {
    const QStringView shown = QStringView(buffer_).left(qMin(pos_, buffer_.size()));
    if (state_.MsgScope() == Speaker::Main) {
        if (main_) main_->SetMessage(msgTmpH_ + shown.toString());
    } else if (fellow_) {
        fellow_->SetMessage(msgTmpF_ + shown.toString());
    }
}

void ScriptPlayer::Expand() {
    if (const auto e = variables_.Expand(buffer_, pos_ - 1)) ReplaceToken(e->length, e->value);
}

void ScriptPlayer::RunCommands() {
    const QStringView after = QStringView(buffer_).mid(pos_);
    if (after.startsWith(u"learn[")) {
        const qsizetype close = after.indexOf(u']', 6);
        if (close < 0) return; // no category: shown as text
        const QString category = after.mid(6, close - 6).toString();
        const quint64 generation = generation_;
        if (hooks.startLearning) hooks.startLearning(category);
        if (generation == generation_) ReplaceToken(category.size() + 8, {});
    } else if (after.startsWith(u"RSC")) {
        scenario_.LoadScenario();
        ReplaceToken(4, {});
    }
}

void ScriptPlayer::EndOfStep() {
    const quint64 generation = generation_;
    if (pos_ > buffer_.size()) {
        ctx_.flags.scriptRunning = false;
        RunFinishAction();
    }
    // A script played during the finish action's wait starts at its first character.
    if (generation == generation_) ++pos_;
    ctx_.flags.mainBalloonCounter = 0;
    ctx_.flags.fellowBalloonCounter = 0;
}

void ScriptPlayer::RunFinishAction() {
    const FinishAction action = state_.Pending();
    if (action == FinishAction::None) return;
    const quint64 generation = generation_;
    // A script played during the 250 ms has cancelled the action (and may have named its own).
    const auto waitStillOurs = [&] {
        ctx_.Wait(250);
        return generation == generation_;
    };
    if (action == FinishAction::SelMsg) {
        if (waitStillOurs()) {
            state_.ForeMenu(BalloonPanel::Select);
            ctx_.flags.balloonHold = true;
        }
    } else if (action == FinishAction::DelDustBox) {
        if (waitStillOurs()) EmptyRecycleBin();
    } else if (const auto engine = SearchEngineOf(action); engine && hooks.openSearchPanel) {
        hooks.openSearchPanel(*engine);
    }
    if (generation == generation_) state_.CancelWSF();
}

void ScriptPlayer::EmptyRecycleBin() {
    if (hooks.emptyRecycleBin) {
        hooks.emptyRecycleBin();
        return;
    }
    const bool done = ctx_.actions.EmptyTrash();
    PlayScript(done ? u"\\h任務完了～。"_s : u"\\h失敗しました～。"_s);
}

QString OpenTargetUrl(const QString& target) {
    const QUrl url(target.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty()) return {};
    if (url.scheme() != u"http" && url.scheme() != u"https") return {};
    return url.toString(QUrl::FullyEncoded);
}

} // namespace orvanel
