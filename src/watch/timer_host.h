#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace orvanel {

// What the main timer and the system event reactions need of the windows, the screen and the
// talk beyond the views of core/views.h. Window geometry, the cursor and the screen are in pixels
// of the desktop; the balloon offsets are the skin's, in twips. Implemented by the shell; tests
// record the calls.
class TimerHost {
public:
    virtual ~TimerHost() = default;

    // Balloon 0 is the main character's (frmBln_h), 1 the fellow's (frmBln_f).

    // Frame geometry of the character window frmKanami and of the fellow window frmFellow
    // (the fellow's is used even while it is hidden or absent).
    virtual QRect CharacterGeometry() const = 0;
    virtual QRect FellowGeometry() const = 0;
    // Size of balloon window n.
    virtual QSize BalloonSize(int balloon) const = 0;
    // [Balloon0] / [Balloon1] Left and Top of the skin, in twips.
    virtual QPoint BalloonOffsetTwips(int balloon) const = 0;
    // Moves balloon window n; called on every tick, so a move to where it is must be cheap.
    virtual void MoveBalloon(int balloon, QPoint topLeft) = 0;
    // Moves frmKanami.
    virtual void MoveCharacter(QPoint topLeft) = 0;

    // The mouse cursor (GetCursorPos).
    virtual QPoint CursorPosition() const = 0;
    // Every screen of the desktop; the screen frmKanami stands on (the one that holds most of
    // her), whose outer edges hide the characters; the work area of that screen (what the
    // panels leave free).
    virtual QList<QRect> Screens() const = 0;
    virtual QRect ScreenGeometry() const = 0;
    virtual QRect WorkArea() const = 0;

    // Shows or hides frmKanami alone, and frmFellow alone (nothing without a fellow).
    virtual void SetCharacterVisible(bool on) = 0;
    virtual void SetFellowVisible(bool on) = 0;
    // Shows the eyes closed (the picture of surface 2) or open (surface 1) in frmKanami,
    // keeping the window's outline: a blink changes only the picture.
    virtual void ShowBlinkPicture(bool eyesClosed) = 0;
    // Closes the debug window when it is open and visible.
    virtual void CloseDebugWindow() = 0;
    // Closes frmKanami, which runs the shutdown sequence.
    virtual void CloseCharacterWindow() = 0;
    // The skin reload after a skin change (profile, skin, pictures, a 500 ms wait, script
    // files, outlines, surface 1, fellow, main balloon). False when the program must end.
    virtual bool ReloadSkin() = 0;

    // Idle talk: a random talk handed to PlayScript.
    virtual void RandomTalk() = 0;
    // Today's date as the calendar talk tells it, and today's anniversary ("" when none).
    virtual QString TodayDateText() = 0;
    virtual QString TodayAnniversary() = 0;
};

} // namespace orvanel
