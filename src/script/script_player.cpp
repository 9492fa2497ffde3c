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
    head_.clear();
    rest_ = script;
    at_ = 0;
    noCloseFrom_ = rest_.size();
    ctx_.flags.scriptRunning = true;
    state_.CancelWSF();
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
    shown_[0] = shown_[1] = {};
}

void ScriptPlayer::ReplaceToken(qsizetype length, QStringView text) {
    if (text.data() >= rest_.constData() && text.data() < rest_.constData() + rest_.size()) {
        const QString copy = text.toString();
        return ReplaceToken(length, copy);
    }
    at_ += qBound<qsizetype>(0, length, rest_.size() - at_);
    if (text.isEmpty()) return;
    if (text.size() > at_) {
        // Room for as much again as what remains: a run of expansions moves the rest rarely.
        const qsizetype remaining = rest_.size() - at_;
        const qsizetype room = text.size() + remaining;
        QString grown(room + remaining, Qt::Uninitialized);
        std::copy(rest_.cbegin() + at_, rest_.cend(), grown.begin() + room);
        noCloseFrom_ += room - at_;
        rest_ = std::move(grown);
        at_ = room;
    }
    at_ -= text.size();
    std::copy(text.begin(), text.end(), rest_.begin() + at_);
    if (const qsizetype close = text.lastIndexOf(u']'); close >= 0)
        noCloseFrom_ = qMax(noCloseFrom_, at_ + close + 1);
}

void ScriptPlayer::Advance() {
    if (at_ < rest_.size()) head_.append(rest_[at_++]);
}

void ScriptPlayer::CutRest() {
    rest_.clear();
    at_ = 0;
    noCloseFrom_ = 0;
}

qsizetype ScriptPlayer::FindClose(qsizetype from) {
    const qsizetype start = at_ + from;
    if (start >= noCloseFrom_) return -1;
    const qsizetype found = QStringView(rest_).mid(start, noCloseFrom_ - start).indexOf(u']');
    if (found >= 0) return from + found;
    noCloseFrom_ = start;
    return -1;
}

BalloonView* ScriptPlayer::SpeakingBalloon() const {
    return state_.MsgScope() == Speaker::Main ? static_cast<BalloonView*>(main_) : fellow_;
}

// The recursion of tag processing ("continue": the next character at once, in the same step)
// is this loop, so a long run of tags costs no stack.
void ScriptPlayer::StepScript() {
    for (;;) {
        if (!ctx_.flags.scriptRunning) return;
        const QChar c = At(0);
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
            Advance();
            return;
        case Flow::EndStep:
            EndOfStep();
            return;
        }
    }
}

ScriptPlayer::Flow ScriptPlayer::Tag() {
    const QChar letter = At(1);
    switch (letter.unicode()) {
    case u'h':
        SwitchSpeaker(main_, Speaker::Main, msgTmpF_);
        return Flow::Continue;
    case u'u':
        if (!character_ || !character_->FellowPresent()) {
            ReplaceToken(2, {});
            CutRest();
            return Flow::Continue;
        }
        SwitchSpeaker(fellow_, Speaker::Fellow, msgTmpH_);
        return Flow::Continue;
    case u'c': {
        ReplaceToken(2, {});
        head_.clear();
        const bool main = state_.MsgScope() == Speaker::Main;
        if (BalloonView* b = main ? static_cast<BalloonView*>(main_) : fellow_) b->SetMessage({});
        (main ? msgTmpH_ : msgTmpF_).clear();
        shown_[main ? 0 : 1] = {true, 0, 0};
        if (shown_[main ? 1 : 0].text > 0) shown_[main ? 1 : 0] = {};
        return Flow::Continue;
    }
    case u'e':
        ReplaceToken(2, {});
        CutRest();
        return Flow::Continue;
    case u'n':
        ReplaceToken(2, u"\r\n"_s);
        return Flow::Continue;
    case u'w': {
        const QChar d = At(2);
        if (!IsAsciiDigit(d) || d == u'0') return Flow::Unrecognised;
        ReplaceToken(3, {});
        ctx_.Wait(quint32(d.unicode() - u'0') * 50);
        return Flow::Continue;
    }
    case u's': {
        const QChar c1 = At(2);
        const QChar digit = At(3);
        if (c1 == u'[' && IsAsciiDigit(digit) && At(4) == u']') {
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
        if (At(2) != u'e') return Flow::Unrecognised;
        ReplaceToken(3, {});
        if (BalloonView* b = SpeakingBalloon()) b->Hide();
        return Flow::Continue;
    case u'j':
        if (At(2) != u'[') return Flow::Unrecognised;
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
    // The balloon whose text this is goes on showing a beginning of it; the other one may not.
    const int owner = &keepsShownText == &msgTmpH_ ? 0 : 1;
    Shown& kept = shown_[owner];
    if (kept.text > 0) {
        if (kept.kept == keepsShownText.size())
            kept = {kept.known, kept.kept + kept.text, 0};
        else
            kept = {};
    }
    if (shown_[1 - owner].text > 0) shown_[1 - owner] = {};
    keepsShownText += head_;
    head_.clear();
    ReplaceToken(2, {});
}

ScriptPlayer::Flow ScriptPlayer::OpenTarget() {
    const qsizetype close = FindClose(3);
    if (close < 0) return Flow::Unrecognised;
    const QString target = Rest().mid(3, close - 3).toString();
    ReplaceToken(close + 1, {});
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

// Waits only as long as someone can answer: the balloon stays shown, the End command ends the
// wait, and a wait that came from another machine ends with the next script, so a datagram
// can never leave the player waiting for good.
void ScriptPlayer::ClickWait() {
    ReplaceToken(2, {});
    const bool remote = origin_ == ScriptOrigin::Remote;
    const quint64 generation = generation_;
    const auto marker = [this](bool on) {
        if (main_) main_->SetWaitMarkerVisible(on);
    };
    ShowWaitBalloon();
    marker(true);
    ctx_.flags.click = false;
    ctx_.flags.balloonHold = true;
    waitingForClick_ = true;
    if (hooks.clickWaitStarted) hooks.clickWaitStarted();
    const auto answered = [&] {
        return ctx_.flags.click || ctx_.flags.exitRequest || (remote && generation != generation_);
    };
    do {
        ctx_.Wait(200);
        marker(false);
        ctx_.Wait(700);
        ShowWaitBalloon();
        marker(true);
    } while (!answered());
    waitingForClick_ = false;
    ctx_.flags.balloonHold = false;
    marker(false);
}

// The marker's balloon: a "\_e" before the wait or the edge toggle may have hidden it.
void ScriptPlayer::ShowWaitBalloon() {
    if (!main_ || main_->IsVisible() || ctx_.flags.minimized) return;
    main_->Show();
    state_.RaiseBalloon(*main_);
}

// The balloon shows what its character said before and the script up to the play position.
void ScriptPlayer::ShowText() {
    const int i = state_.MsgScope() == Speaker::Main ? 0 : 1;
    BalloonView* b = i == 0 ? static_cast<BalloonView*>(main_) : fellow_;
    if (!b) return;
    const QString& kept = i == 0 ? msgTmpH_ : msgTmpF_;
    const QStringView current = Rest().left(1);
    Shown& s = shown_[i];
    QString text;
    if (s.known && s.kept <= kept.size() && s.text <= head_.size() &&
        (s.text == 0 || s.kept == kept.size()) && b->Message().size() == s.kept + s.text) {
        ((text += QStringView(kept).mid(s.kept)) += QStringView(head_).mid(s.text)) += current;
        b->AppendMessage(text);
    } else {
        ((text += kept) += head_) += current;
        b->SetMessage(text);
    }
    s = {true, kept.size(), head_.size() + current.size()};
}

void ScriptPlayer::Expand() {
    const auto e = variables_.Expand(Rest(), [this](qsizetype from) { return FindClose(from); });
    if (e) ReplaceToken(e->length, e->value);
}

void ScriptPlayer::RunCommands() {
    const QStringView after = Rest().mid(1);
    if (after.startsWith(u"learn[")) {
        const qsizetype close = FindClose(7) - 1; // in `after`
        if (close < 0) return;                    // no category: shown as text
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
    if (Rest().isEmpty()) {
        ctx_.flags.scriptRunning = false;
        RunFinishAction();
    }
    // A script played during the finish action's wait starts at its first character.
    if (generation == generation_) Advance();
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
