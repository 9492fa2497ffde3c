#include "app/character_drag.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace orvanel {

CharacterDrag::CharacterDrag(QWidget& window, std::function<void()> finished)
    : QObject(&window), window_(window), finished_(std::move(finished)) {
    systemMoveSettled_.setSingleShot(true);
    systemMoveSettled_.setInterval(300);
    connect(&systemMoveSettled_, &QTimer::timeout, this, &CharacterDrag::Finish);
}

void CharacterDrag::Press(QPoint global) {
    pressed_ = true;
    pressGlobal_ = global;
    grabOffset_ = global - window_.pos();
}

bool CharacterDrag::Move(QPoint global, bool leftHeld) {
    if (!leftHeld || !pressed_) return mode_ == Mode::Manual;
    if (mode_ == Mode::None) {
        if ((global - pressGlobal_).manhattanLength() < QApplication::startDragDistance())
            return false;
        QWindow* handle = window_.windowHandle();
        if (handle && handle->startSystemMove()) {
            // The window manager has the mouse now; no release comes to us.
            mode_ = Mode::System;
            pressed_ = false;
            systemMoveSettled_.start();
            return true;
        }
        mode_ = Mode::Manual;
    }
    if (mode_ == Mode::Manual) window_.move(global - grabOffset_);
    return true;
}

void CharacterDrag::Release() {
    pressed_ = false;
    if (mode_ == Mode::Manual) Finish();
}

void CharacterDrag::WindowMoved() {
    if (mode_ == Mode::System) systemMoveSettled_.start();
}

void CharacterDrag::Finish() {
    mode_ = Mode::None;
    if (finished_) finished_();
}

} // namespace orvanel
