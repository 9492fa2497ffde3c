#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>

class QWidget;

namespace orvanel {

// DragCharacter for one character window: while the left button is held and the mouse moves
// (past the platform's drag distance), the window manager moves the window where it offers
// that (QWindow::startSystemMove), otherwise the window follows the mouse. When the drag is
// over `finished` runs, which stands the characters on the bottom edge again.
class CharacterDrag : public QObject {
    Q_OBJECT
public:
    CharacterDrag(QWidget& window, std::function<void()> finished);

    // Feed the window's left-button presses, moves and releases (global positions).
    void Press(QPoint global);
    // True while a drag runs (the move belongs to it).
    bool Move(QPoint global, bool leftHeld);
    void Release();
    bool Dragging() const { return mode_ != Mode::None; }

    // Called from the window's moveEvent: a move by the window manager ends some time after
    // its last step, since the window system reports no release of its own.
    void WindowMoved();

private:
    enum class Mode { None, System, Manual };
    void Finish();

    QWidget& window_;
    std::function<void()> finished_;
    Mode mode_ = Mode::None;
    bool pressed_ = false;
    QPoint pressGlobal_;
    QPoint grabOffset_;
    QTimer systemMoveSettled_;
};

} // namespace orvanel
