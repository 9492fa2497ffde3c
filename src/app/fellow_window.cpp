#include "app/fellow_window.h"

#include "app/character_drag.h"

#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace orvanel {

FellowWindow::FellowWindow(QWidget* parent)
    : ShapedPictureWindow(parent),
      drag_(new CharacterDrag(
          *this, [this] { Q_EMIT Dragged(); }, [this] { Q_EMIT DragFinished(); })) {
    setObjectName(u"frmFellow"_s);
    setWindowTitle(u"Orvanel - Fellow"_s);
}

void FellowWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    drag_->Press(event->globalPosition().toPoint(), event->position().toPoint());
    Q_EMIT Poked();
}

void FellowWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) drag_->Release();
}

void FellowWindow::mouseMoveEvent(QMouseEvent* event) {
    drag_->Move(event->globalPosition().toPoint(), event->buttons().testFlag(Qt::LeftButton));
}

} // namespace orvanel
