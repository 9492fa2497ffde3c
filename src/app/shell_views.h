#pragma once

#include "character/character_surfaces.h"
#include "core/views.h"
#include "watch/timer_host.h"

#include <functional>

namespace orvanel {

class ShellParts;

// What the logic asks of the windows, carried out on the shell's windows: the character
// views (frmKanami with frmFellow), the main timer's host and the steps of the skin reload.
class ShellViews final : public CharacterView, public TimerHost, public SkinReloadSteps {
public:
    // What the views hand back to the start-up and shutdown sequences.
    struct Hooks {
        std::function<bool(Outcome)> survive; // a fatal outcome ends the program
        std::function<void()> close;          // frmKanami closes: the shutdown sequence
        std::function<Outcome()> loadFellow;  // frmFellow and its balloon as the skin has them
        std::function<void()> closeDebugWindow;
    };
    ShellViews(ShellParts& parts, Hooks hooks);

    // CharacterView
    bool IsVisible() const override;
    void ShowSurface(int n, bool hold) override;
    bool FellowPresent() const override;
    void SetTopmost(bool on) override;
    void BringToForeground() override;
    void SetEnabled(bool on) override;

    // TimerHost
    QRect CharacterGeometry() const override;
    QRect FellowGeometry() const override;
    QSize BalloonSize(int balloon) const override;
    QPoint BalloonOffsetTwips(int balloon) const override;
    void MoveBalloon(int balloon, QPoint topLeft) override;
    void MoveCharacter(QPoint topLeft) override;
    QPoint CursorPosition() const override;
    QList<QRect> Screens() const override;
    QRect ScreenGeometry() const override;
    QRect WorkArea() const override;
    void SetCharacterVisible(bool on) override;
    void SetFellowVisible(bool on) override;
    void ShowBlinkPicture(bool eyesClosed) override;
    void CloseDebugWindow() override;
    void CloseCharacterWindow() override;
    bool ReloadSkin() override;
    void RandomTalk() override;
    QString TodayDateText() override;
    QString TodayAnniversary() override;

    // SkinReloadSteps
    void PlaceHitAreas(const HitAreas& areas) override;
    void ReloadScriptFiles() override;
    Outcome ReloadFellow() override;
    ShapedWindow& MainBalloon() override;
    void PlaceMainMessageArea() override;

private:
    ShellParts& parts_;
    Hooks hooks_;
};

} // namespace orvanel
