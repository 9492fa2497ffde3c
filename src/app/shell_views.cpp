#include "app/shell_views.h"

#include "app/shell_parts.h"
#include "app/shell_talk.h"
#include "core/app_context.h"
#include "engine/engine.h"

#include <QCursor>

namespace orvanel {

ShellViews::ShellViews(ShellParts& parts, Hooks hooks) : parts_(parts), hooks_(std::move(hooks)) {}

// CharacterView ------------------------------------------------------------------------------

bool ShellViews::IsVisible() const {
    return parts_.character.isVisible();
}

void ShellViews::ShowSurface(int n, bool hold) {
    hooks_.survive(parts_.surfaces.ShowSurface(n, hold));
}

bool ShellViews::FellowPresent() const {
    return parts_.ctx.skin.fellowPresent;
}

void ShellViews::SetTopmost(bool on) {
    parts_.SetTopmost(on);
}

void ShellViews::BringToForeground() {
    parts_.character.RaiseWithoutActivation();
}

void ShellViews::SetEnabled(bool on) {
    parts_.character.setEnabled(on);
}

// TimerHost ----------------------------------------------------------------------------------

QRect ShellViews::CharacterGeometry() const {
    return parts_.character.geometry();
}
QRect ShellViews::FellowGeometry() const {
    return parts_.fellow.geometry();
}

QSize ShellViews::BalloonSize(int balloon) const {
    return balloon == 0 ? parts_.mainBalloon.size() : parts_.fellowBalloon.size();
}

QPoint ShellViews::BalloonOffsetTwips(int balloon) const {
    const SkinState::Balloon& b = parts_.ctx.skin.balloons[balloon == 0 ? 0 : 1];
    return QPoint(b.left, b.top);
}

void ShellViews::MoveBalloon(int balloon, QPoint topLeft) {
    QWidget& w = balloon == 0 ? static_cast<QWidget&>(parts_.mainBalloon) : parts_.fellowBalloon;
    if (w.pos() != topLeft) w.move(topLeft);
}

void ShellViews::MoveCharacter(QPoint topLeft) {
    if (parts_.character.pos() != topLeft) parts_.character.move(topLeft);
}

QPoint ShellViews::CursorPosition() const {
    return QCursor::pos();
}

QList<QRect> ShellViews::Screens() const {
    return ShellParts::Screens();
}

QRect ShellViews::ScreenGeometry() const {
    return parts_.ScreenGeometry();
}

QRect ShellViews::WorkArea() const {
    return parts_.WorkArea();
}

void ShellViews::SetCharacterVisible(bool on) {
    if (on)
        parts_.character.ShowWithoutActivation();
    else
        parts_.character.hide();
}

void ShellViews::SetFellowVisible(bool on) {
    if (!on)
        parts_.fellow.hide();
    else if (FellowPresent())
        parts_.fellow.ShowWithoutActivation();
}

void ShellViews::ShowBlinkPicture(bool eyesClosed) {
    const CharacterSurfaces& surfaces = parts_.surfaces;
    parts_.character.ShowPicture(eyesClosed ? surfaces.ClosedEyes() : surfaces.OpenEyes(),
                                 CharacterSurfaces::kPictureOffset);
}

void ShellViews::CloseDebugWindow() {
    hooks_.closeDebugWindow();
}

void ShellViews::CloseCharacterWindow() {
    hooks_.close();
}

bool ShellViews::ReloadSkin() {
    if (!hooks_.survive(parts_.surfaces.ReloadSkin(*this))) return false;
    // Closed during the reload's wait: nothing may show again.
    if (parts_.closed) return false;
    parts_.UpdateProbes();
    parts_.UpdateTrayTip();
    return true;
}

void ShellViews::RandomTalk() {
    parts_.talk->RandomTalk();
}
QString ShellViews::TodayDateText() {
    return parts_.talk->TodayDateText();
}
QString ShellViews::TodayAnniversary() {
    return parts_.talk->DayMessage(parts_.ctx.clock.Now().date(), nullptr);
}

// SkinReloadSteps ----------------------------------------------------------------------------

void ShellViews::PlaceHitAreas(const HitAreas& areas) {
    parts_.character.PlaceHitAreas(areas);
}

void ShellViews::ReloadScriptFiles() {
    parts_.engine->ReloadScriptFiles();
}

Outcome ShellViews::ReloadFellow() {
    return hooks_.loadFellow();
}

ShapedWindow& ShellViews::MainBalloon() {
    return parts_.mainBalloon;
}

void ShellViews::PlaceMainMessageArea() {
    parts_.mainBalloon.PlaceMainMessageArea();
}

} // namespace orvanel
