#pragma once

#include "script/play_state.h"
#include "script/script_variables.h"

#include <QString>

#include <functional>

namespace orvanel {

class AppContext;
class BalloonView;
class CharacterView;
class MainBalloonView;
class ScenarioFiles;
class ScriptProbes;
class WordSource;

// Who handed a script to the player. Scripts that arrived from another machine are played
// like any other, but may not open anything ("\j"). Talk is the program's own talk.
enum class ScriptOrigin { Talk, Local, Remote, Touch, Menu, System, Debug };
// "talk", "local", "remote", "touch", "menu", "system", "debug": the names of the script log.
QString OriginName(ScriptOrigin origin);

// The one script player of the program: shows a script one character per step in the balloon
// of the speaking character, runs its tags, variables and commands, and runs the finish action
// named with PlayState::WaitThen when the script has ended. A new script replaces the playing one.
//
// Waits let other events run (AppContext::Wait); a handler may call PlayScript meanwhile and
// the step then goes on with the new script at its first character.
class ScriptPlayer {
public:
    ScriptPlayer(AppContext& ctx, PlayState& frame, WordSource& words, ScenarioFiles& scenario,
                 ScriptProbes& probes);

    // The windows the player writes into; until they exist the player plays into no window.
    void SetViews(MainBalloonView* mainBalloon, BalloonView* fellowBalloon,
                  CharacterView* character);

    // Stops whatever plays and starts `script` at its first character (not while minimised).
    void PlayScript(const QString& script) { PlayScript(script, ScriptOrigin::Talk); }
    void PlayScript(const QString& script, ScriptOrigin origin);
    // Plays what `make` generates. A choice offered while it was made (the finish action named
    // then) stays with the script, which PlayScript alone would cancel.
    void PlayMade(const std::function<QString()>& make, ScriptOrigin origin = ScriptOrigin::Talk);
    // The origin of the script in the buffer.
    ScriptOrigin Origin() const { return origin_; }
    // One step: one character, or the tags that follow one another, and what they do.
    void StepScript();
    // Clears the talk state of the balloons before a new script.
    void ResetTalk();
    // Replaces `length` characters at the play position by `text`; the position stays.
    void ReplaceToken(qsizetype length, QStringView text);

    // A single click on either balloon or on the character: cuts the running wait short and
    // ends a "\x" click wait when its blink cycle is over.
    void Click();
    // A "\x" click wait is waiting. It also ends at the End command, and, when the script came
    // from another machine, when the next script arrives.
    bool WaitingForClick() const { return waitingForClick_; }
    // Stops playback where it is; the balloons keep their text.
    void Stop();
    bool IsRunning() const;

    // The script buffer (MsgTmpTxt), the 1-based play position and the texts each character
    // said before the last speaker switch (MsgTmp_h, MsgTmp_f).
    QString Buffer() const { return QString(head_).append(Rest()); }
    qsizetype Position() const { return head_.size() + 1; }
    const QString& MsgTmp_h() const { return msgTmpH_; }
    const QString& MsgTmp_f() const { return msgTmpF_; }

    ScriptVariables& Variables() { return variables_; }

    // What later parts of the program provide. Unset hooks do nothing, except as noted.
    struct Hooks {
        // "$learn[category]": open the teaching panel for a word of the category.
        std::function<void(const QString& category)> startLearning;
        // The search finish actions.
        std::function<void(SearchEngine engine)> openSearchPanel;
        // "DelDustBox". Unset: empties the trash through the system actions and says how it went.
        std::function<void()> emptyRecycleBin;
        // A "\x" click wait has begun (the marker is shown).
        std::function<void()> clickWaitStarted;
        // Every script handed to PlayScript, as it was handed (the script log).
        std::function<void(const QString& script, ScriptOrigin origin)> handed;
        // A script has started: whoever steps the player should do so now.
        std::function<void()> started;
    };
    Hooks hooks;

private:
    enum class Flow { EndStep, Continue, Unrecognised };

    QStringView Rest() const { return QStringView(rest_).mid(at_); }
    // The character `k` places after the play position.
    QChar At(qsizetype k) const { return at_ + k < rest_.size() ? rest_[at_ + k] : QChar(); }
    void Advance();
    void CutRest();
    // The index in Rest() of the first "]" at or after `from`, -1 when there is none.
    qsizetype FindClose(qsizetype from);
    Flow Tag();
    void SwitchSpeaker(BalloonView* balloon, Speaker scope, QString& keepsShownText);
    Flow OpenTarget();
    void ClickWait();
    void ShowWaitBalloon();
    void ShowText();
    void Expand();
    void RunCommands();
    void EndOfStep();
    void RunFinishAction();
    void EmptyRecycleBin();
    BalloonView* SpeakingBalloon() const;

    AppContext& ctx_;
    PlayState& state_;
    ScenarioFiles& scenario_;
    ScriptVariables variables_;
    MainBalloonView* main_ = nullptr;
    BalloonView* fellow_ = nullptr;
    CharacterView* character_ = nullptr;

    // MsgTmpTxt in two parts, so that a tag removed or a variable expanded at the play position
    // costs what it removes or adds, not the length of the script: the text before the play
    // position, and from it on the text of rest_ from index at_. The room before at_ takes
    // expansions without moving what follows.
    QString head_;
    QString rest_;
    qsizetype at_ = 0;
    // rest_ holds no "]" from this index on: a tag left open is looked for once, not at every
    // occurrence.
    qsizetype noCloseFrom_ = 0;
    // What each balloon (0 main, 1 fellow) shows, as long as the player knows it: the first
    // `kept` characters of its MsgTmp text followed by the first `text` of MsgTmpTxt. Showing
    // one more character then adds just that to the balloon.
    struct Shown {
        bool known = false;
        qsizetype kept = 0;
        qsizetype text = 0;
    };
    Shown shown_[2];
    ScriptOrigin origin_ = ScriptOrigin::Local;
    QString msgTmpH_;
    QString msgTmpF_;
    // Counts PlayScript calls, so work begun before a wait can tell the script was replaced.
    quint64 generation_ = 0;
    bool waitingForClick_ = false;
};

// The address a "\j[...]" target opens: http and https addresses only, "" for anything else.
QString OpenTargetUrl(const QString& target);

} // namespace orvanel
