#include "script/play_state.h"

namespace orvanel {

std::optional<SearchEngine> SearchEngineOf(FinishAction action) {
    switch (action) {
    case FinishAction::SearchGoogle:
        return SearchEngine::Google;
    case FinishAction::SearchBabylon:
        return SearchEngine::Babylon;
    case FinishAction::SearchGooDic:
        return SearchEngine::GooDic;
    case FinishAction::SearchArchive:
        return SearchEngine::Archive;
    default:
        return std::nullopt;
    }
}

void PlayState::SetViews(MainBalloonView* mainBalloon, CharacterView* character) {
    mainBalloon_ = mainBalloon;
    character_ = character;
}

void PlayState::SetOnTop(bool on) {
    onTop_ = on;
    ApplyOnTop(character_, on);
}

void PlayState::ForeMenu(BalloonPanel shown) {
    if (!mainBalloon_) return;
    static constexpr BalloonPanel kPanels[] = {BalloonPanel::Select, BalloonPanel::Menu,
                                               BalloonPanel::Teach, BalloonPanel::Search};
    // Hide first so that two panels are never shown together, even for a moment.
    for (BalloonPanel panel : kPanels)
        if (panel != shown) mainBalloon_->SetPanelVisible(panel, false);
    if (shown == BalloonPanel::None) return;
    mainBalloon_->SetPanelVisible(shown, true);
    if (shown == BalloonPanel::Teach || shown == BalloonPanel::Search)
        mainBalloon_->ResetPanelButtons(shown);
}

void PlayState::RaiseBalloon(BalloonView& balloon) const {
    balloon.BringToFront();
    balloon.SetTopmost(onTop_);
}

void ApplyOnTop(CharacterView* character, bool flag) {
    if (character) character->SetTopmost(flag);
}

} // namespace orvanel
