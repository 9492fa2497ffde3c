#include "balloon/panel_widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace orvanel {
namespace {

void SetRole(QWidget* w, QPalette::ColorRole role, const QColor& color) {
    QPalette p = w->palette();
    p.setColor(role, color);
    w->setPalette(p);
}

} // namespace

PanelFrame::PanelFrame(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
}

void PanelFrame::SetBackground(const QColor& color) {
    SetRole(this, QPalette::Window, color);
}

void PanelFrame::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
void PanelFrame::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void PanelFrame::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT Hovered();
}

void PanelFrame::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT DoubleClicked();
}

PanelLabel::PanelLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAutoFillBackground(true);
    setMouseTracking(true);
}

void PanelLabel::SetBackground(const QColor& color) {
    SetRole(this, QPalette::Window, color);
}
QColor PanelLabel::Background() const {
    return palette().color(QPalette::Window);
}
void PanelLabel::SetTextColor(const QColor& color) {
    SetRole(this, QPalette::WindowText, color);
}
QColor PanelLabel::TextColor() const {
    return palette().color(QPalette::WindowText);
}

void PanelLabel::Press() {
    if (isEnabled()) Q_EMIT Clicked();
}

void PanelLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    pressed_ = event->button() == Qt::LeftButton;
}

void PanelLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) Q_EMIT Clicked();
}

void PanelLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT Hovered();
}

void PanelLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a click of its own, as on the original labels.
    event->accept();
    pressed_ = event->button() == Qt::LeftButton;
}

EnterKeyFilter::EnterKeyFilter(QObject* watched, std::function<void()> onEnter)
    : QObject(watched), onEnter_(std::move(onEnter)) {
    watched->installEventFilter(this);
}

bool EnterKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onEnter_();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvanel
