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
    void ReplaceToken(qsizetype length, const QString& text);

    // A single click on either balloon: cuts the running wait short and ends a "\x" click wait
    // when its blink cycle is over.
    void Click();
    // Stops playback where it is; the balloons keep their text.
    void Stop();
    bool IsRunning() const;

    // The script buffer (MsgTmpTxt), the 1-based play position and the texts each character
    // said before the last speaker switch (MsgTmp_h, MsgTmp_f).
    const QString& Buffer() const { return buffer_; }
    qsizetype Position() const { return pos_; }
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

    QChar At(qsizetype pos) const;
    Flow Tag();
    void SwitchSpeaker(BalloonView* balloon, Speaker scope, QString& keepsShownText);
    Flow OpenTarget();
    void ClickWait();
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

    QString buffer_;
    qsizetype pos_ = 1;
    ScriptOrigin origin_ = ScriptOrigin::Local;
    QString msgTmpH_;
    QString msgTmpF_;
    // Counts PlayScript calls, so work begun before a wait can tell the script was replaced.
    quint64 generation_ = 0;
};

// The address a "\j[...]" target opens: http and https addresses only, "" for anything else.
QString OpenTargetUrl(const QString& target);

} // namespace orvanel
