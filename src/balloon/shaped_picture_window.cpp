#include "balloon/shaped_picture_window.h"

#include "platform/linux/x11_screens.h"

#include <QPainter>
#include <QWindow>

namespace orvanel {

ShapedPictureWindow::ShapedPictureWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    // With a compositor the pictures' soft edges blend into the desktop; without one the
    // outline still cuts the window and the edges blend over black.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_QuitOnClose, false);
}

void ShapedPictureWindow::ShowPicture(const QImage& picture, QPoint offset) {
    picture_ = picture;
    offset_ = offset;
    update();
}

void ShapedPictureWindow::ResizeWindow(QSize size) {
    if (size.isValid()) setFixedSize(size);
}

void ShapedPictureWindow::SetInputEnabled(bool enabled) {
    setEnabled(enabled);
}

bool ShapedPictureWindow::ApplyShape(const RegionData& shape) {
    if (shape.IsEmpty())
        clearMask();
    else
        setMask(shape.ToQRegion());
    return true;
}

void ShapedPictureWindow::SetStaysOnTop(bool on) {
    if (StaysOnTop() == on) return;
    const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowStaysOnTopHint, on);
    // setWindowFlags would recreate (and hide) a shown window; telling the platform window
    // changes only the stacking state.
    overrideWindowFlags(flags);
    if (QWindow* w = windowHandle()) w->setFlags(flags);
}

void ShapedPictureWindow::RaiseWithoutActivation() {
    if (isVisible()) raise();
}

void ShapedPictureWindow::ShowWithoutActivation() {
    if (!isVisible()) show();
}

void ShapedPictureWindow::showEvent(QShowEvent* event) {
    // Before the window is mapped; the window manager forgets the states of a hidden one.
    KeepOutOfTaskbar(winId());
    QWidget::showEvent(event);
}

void ShapedPictureWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!picture_.isNull()) painter.drawImage(offset_, picture_);
}

} // namespace orvanel
