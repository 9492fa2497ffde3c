#include "net/main_frame.h"

#include "app/views.h"

namespace orvanel {

void TOMU_MainFrame::SetViews(MainBalloonView* mainBalloon, CharacterView* character) {
    mainBalloon_ = mainBalloon;
    character_ = character;
}

void TOMU_MainFrame::SetOnTop(bool on) {
    onTop_ = on;
    ApplyOnTop(character_, on);
}

void TOMU_MainFrame::SetWaitScriptFinish(bool on) {
    waitScriptFinish_ = on;
    wsfCategory_.clear();
}

void TOMU_MainFrame::ForeMenu(const QString& name) {
    struct Mode {
        const char16_t* name;
        bool select, menu, teach, search;
    };
    static constexpr Mode kModes[] = {
        {u"Normal", false, false, false, false}, {u"Select", true, false, false, false},
        {u"Menu", false, true, false, false},    {u"Teach", false, false, true, false},
        {u"Search", false, false, false, true},
    };
    for (const Mode& m : kModes) {
        if (name != QStringView(m.name)) continue;
        if (!mainBalloon_) return;
        // Hide first so that two panels are never shown together, even for a moment.
        const std::pair<BalloonPanel, bool> panels[] = {{BalloonPanel::Select, m.select},
                                                        {BalloonPanel::Menu, m.menu},
                                                        {BalloonPanel::Teach, m.teach},
                                                        {BalloonPanel::Search, m.search}};
        for (const auto& [panel, shown] : panels)
            if (!shown) mainBalloon_->SetPanelVisible(panel, false);
        for (const auto& [panel, shown] : panels)
            if (shown) mainBalloon_->SetPanelVisible(panel, true);
        if (m.teach) mainBalloon_->ResetPanelButtons(BalloonPanel::Teach);
        if (m.search) mainBalloon_->ResetPanelButtons(BalloonPanel::Search);
        return;
    }
}

void TOMU_MainFrame::RaiseBalloon(BalloonView& balloon) const {
    balloon.BringToFront();
    balloon.SetTopmost(onTop_);
}

void WaitThen(TOMU_MainFrame& frame, const QString& action) {
    frame.SetWaitScriptFinish(true);
    frame.SetWSFCategory(action);
}

void ApplyOnTop(CharacterView* character, bool flag) {
    if (character) character->SetTopmost(flag);
}

} // namespace orvanel
