#pragma once

#include "balloon/shaped_picture_window.h"

namespace orvanel {

class CharacterDrag;

// frmFellow: the fellow's window, cut to the outline of its one picture. A left press pokes
// it; dragging it with the left button moves it along the bottom edge.
class FellowWindow : public ShapedPictureWindow {
    Q_OBJECT
public:
    explicit FellowWindow(QWidget* parent = nullptr);
    CharacterDrag& Drag() const { return *drag_; }

Q_SIGNALS:
    void Poked();
    // The window moved by a drag; the drag has ended.
    void Dragged();
    void DragFinished();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CharacterDrag* drag_;
};

} // namespace orvanel
