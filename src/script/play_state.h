#pragma once

#include "core/views.h"

#include <optional>

namespace orvanel {

// Who speaks: the main character (balloon frmBln_h) or the fellow (frmBln_f); the original's
// MsgScope 0 and 1.
enum class Speaker { Main = 0, Fellow = 1 };

// The action run once when the current script ends; the original named it with the pair
// WaitScriptFinish / WSFCategory ("SelMsg", "DelDustBox", "Search_Google", "Search_Babylon",
// "Search_GooDic", "Search_Archive").
enum class FinishAction {
    None,
    SelMsg,
    DelDustBox,
    SearchGoogle,
    SearchBabylon,
    SearchGooDic,
    SearchArchive
};

// The engines of the search panel (SearchEngine "Google", "Babylon", "GooDic", "Archive").
enum class SearchEngine { Google, Babylon, GooDic, Archive };

// The search panel a Search_* finish action opens; nullopt for the other actions.
std::optional<SearchEngine> SearchEngineOf(FinishAction action);

// The switches shared by the script player, the balloons and the search (the original's
// main-frame object PlayState): who speaks, whether the characters stay on top, which
// panel the main balloon shows, which engine the search panel serves, and the action to run
// once the current script has ended. One per program.
class PlayState {
public:
    // The windows come after the object (start-up creates it first); until then the members
    // that reach a window do only their bookkeeping.
    void SetViews(MainBalloonView* mainBalloon, CharacterView* character);

    Speaker MsgScope() const { return msgScope_; }
    void SetMsgScope(Speaker scope) { msgScope_ = scope; }

    bool OnTop() const { return onTop_; }
    // Stores the flag and applies it to the character windows at once.
    void SetOnTop(bool on);

    // The pending finish action; PlayScript cancels it, so name it after PlayScript.
    FinishAction Pending() const { return finish_; }
    void WaitThen(FinishAction action) { finish_ = action; }
    void CancelWSF() { finish_ = FinishAction::None; }

    SearchEngine Engine() const { return engine_; }
    void SetEngine(SearchEngine engine) { engine_ = engine; }

    // Brings a panel of the main balloon to the front (ForeMenu); BalloonPanel::None shows
    // the message alone.
    void ForeMenu(BalloonPanel panel);

    // Raises a balloon once; it stays above other windows only while OnTop is set.
    void RaiseBalloon(BalloonView& balloon) const;

private:
    Speaker msgScope_ = Speaker::Main;
    bool onTop_ = false;
    FinishAction finish_ = FinishAction::None;
    SearchEngine engine_ = SearchEngine::Google;
    MainBalloonView* mainBalloon_ = nullptr;
    CharacterView* character_ = nullptr;
};

// Keeps the character and fellow windows above all others, or lets them go.
void ApplyOnTop(CharacterView* character, bool flag);

} // namespace orvanel
