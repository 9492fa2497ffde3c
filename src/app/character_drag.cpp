#include "app/character_drag.h"

#include <QApplication>
#include <QWidget>

namespace orvanel {

CharacterDrag::CharacterDrag(QWidget& window, std::function<void()> moved,
                             std::function<void()> finished)
    : QObject(&window), window_(window), moved_(std::move(moved)), finished_(std::move(finished)) {}

void CharacterDrag::Press(QPoint global, QPoint inWindow) {
    pressed_ = true;
    pressGlobal_ = global;
    grabOffset_ = inWindow;
}

bool CharacterDrag::Move(QPoint global, bool leftHeld) {
    if (!pressed_) return false;
    if (!leftHeld) {
        const bool was = dragging_;
        Release();
        return was;
    }
    if (!dragging_ && (global - pressGlobal_).manhattanLength() < QApplication::startDragDistance())
        return false;
    dragging_ = true;
    window_.move(global - grabOffset_);
    if (moved_) moved_();
    return true;
}

void CharacterDrag::Release() {
    pressed_ = false;
    if (!dragging_) return;
    dragging_ = false;
    if (finished_) finished_();
}

} // namespace orvanel
