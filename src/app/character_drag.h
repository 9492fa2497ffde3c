#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QWidget;

namespace orvanel {

// DragCharacter for one character window: while the left button is held and the mouse moves
// (past the platform's drag distance) the window follows the mouse; when the button comes up
// `finished` runs, which stands the characters on the bottom edge again.
//
// The window moves itself rather than asking the window manager for its move loop
// (QWindow::startSystemMove): a button released before the window manager took the pointer
// left that loop running with no button held, and its end is never reported. The press's
// pointer grab brings every move and the release here, wherever the pointer goes.
class CharacterDrag : public QObject {
    Q_OBJECT
public:
    // `moved` runs after every step of the window.
    CharacterDrag(QWidget& window, std::function<void()> moved, std::function<void()> finished);

    // Feed the window's left-button presses, moves and releases (global positions). A press
    // also gives where in the window it fell: the window's own idea of its position may lag
    // behind the window manager's, and a grab point taken from it would throw her across the
    // screen.
    void Press(QPoint global, QPoint inWindow);
    // True while a drag runs (the move belongs to it). A move without the left button ends
    // a drag whose release went astray.
    bool Move(QPoint global, bool leftHeld);
    void Release();
    bool Dragging() const { return dragging_; }

private:
    QWidget& window_;
    std::function<void()> moved_;
    std::function<void()> finished_;
    bool pressed_ = false;
    bool dragging_ = false;
    QPoint pressGlobal_;
    QPoint grabOffset_;
};

} // namespace orvanel
