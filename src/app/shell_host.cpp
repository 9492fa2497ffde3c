// What the logic asks of the windows: the character views, the main timer's host and the
// steps of the skin reload, all carried out on the Shell's windows.
#include "app/fellow_window.h"
#include "app/option_window.h"
#include "app/shell.h"
#include "app/shell_talk.h"
#include "app/skin_select_window.h"
#include "balloon/fellow_balloon.h"
#include "balloon/main_balloon.h"
#include "character/skin.h"
#include "core/app_context.h"
#include "engine/engine.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace orvanel {

// CharacterView ------------------------------------------------------------------------------

bool Shell::IsVisible() const {
    return character_->isVisible();
}

void Shell::ShowSurface(int n, bool hold) {
    if (surfaces_->ShowSurface(n, hold) == Outcome::EndProgram) EndProgram();
}

bool Shell::FellowPresent() const {
    return ctx_.skin.fellowPresent;
}

void Shell::SetTopmost(bool on) {
    character_->SetStaysOnTop(on);
    fellow_->SetStaysOnTop(on);
}

void Shell::BringToForeground() {
    character_->RaiseWithoutActivation();
}

void Shell::SetEnabled(bool on) {
    character_->setEnabled(on);
}

// TimerHost ----------------------------------------------------------------------------------

QRect Shell::CharacterGeometry() const {
    return character_->geometry();
}
QRect Shell::FellowGeometry() const {
    return fellow_->geometry();
}

QSize Shell::BalloonSize(int balloon) const {
    return balloon == 0 ? mainBalloon_->size() : fellowBalloon_->size();
}

QPoint Shell::BalloonOffsetTwips(int balloon) const {
    const SkinState::Balloon& b = ctx_.skin.balloons[balloon == 0 ? 0 : 1];
    return QPoint(b.left, b.top);
}

void Shell::MoveBalloon(int balloon, QPoint topLeft) {
    QWidget* w = balloon == 0 ? static_cast<QWidget*>(mainBalloon_.get()) : fellowBalloon_.get();
    if (w->pos() != topLeft) w->move(topLeft);
}

void Shell::MoveCharacter(QPoint topLeft) {
    if (character_->pos() != topLeft) character_->move(topLeft);
}

QPoint Shell::CursorPosition() const {
    return QCursor::pos();
}

QRect Shell::ScreenGeometry() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

QRect Shell::WorkArea() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : ScreenGeometry();
}

void Shell::SetCharacterVisible(bool on) {
    if (on)
        character_->ShowWithoutActivation();
    else
        character_->hide();
}

void Shell::SetFellowVisible(bool on) {
    if (!on)
        fellow_->hide();
    else if (FellowPresent())
        fellow_->ShowWithoutActivation();
}

void Shell::ShowBlinkPicture(bool eyesClosed) {
    character_->ShowPicture(eyesClosed ? surfaces_->ClosedEyes() : surfaces_->OpenEyes(),
                            CharacterSurfaces::kPictureOffset);
}

// The debug window comes with the tools.
void Shell::CloseDebugWindow() {}

void Shell::CloseCharacterWindow() {
    Close();
}

bool Shell::ReloadSkin() {
    if (surfaces_->ReloadSkin(*this) == Outcome::EndProgram) {
        EndProgram();
        return false;
    }
    UpdateProbes();
    UpdateTrayTip();
    return true;
}

void Shell::RandomTalk() {
    talk_->RandomTalk();
}
QString Shell::TodayDateText() {
    return talk_->TodayDateText();
}
QString Shell::TodayAnniversary() {
    return talk_->DayMessage(ctx_.clock.Now().date(), nullptr);
}

// SkinReloadSteps ----------------------------------------------------------------------------

void Shell::PlaceHitAreas(const HitAreas& areas) {
    character_->PlaceHitAreas(areas);
}

void Shell::ReloadScriptFiles() {
    engine_->ReloadScriptFiles();
}

Outcome Shell::ReloadFellow() {
    return LoadFellow();
}

ShapedWindow& Shell::MainBalloon() {
    return *mainBalloon_;
}

void Shell::PlaceMainMessageArea() {
    mainBalloon_->PlaceMainMessageArea();
}

} // namespace orvanel
