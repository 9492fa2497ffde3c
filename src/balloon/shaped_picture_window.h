#pragma once

#include "character/shape_views.h"

#include <QImage>
#include <QWidget>

namespace orvanel {

// A frameless top-level window that shows one picture and takes the outline the character
// layer builds for it (QWidget::setMask): the character, the fellow and both balloons. It is
// a tool window with no place in the taskbar or the pager, and can be kept above all others.
class ShapedPictureWindow : public QWidget, public ShapedWindow {
    Q_OBJECT
public:
    explicit ShapedPictureWindow(QWidget* parent = nullptr);

    // ShapedWindow
    void ShowPicture(const QImage& picture, QPoint offset) override;
    void ResizeWindow(QSize size) override;
    void SetInputEnabled(bool enabled) override;
    bool ApplyShape(const RegionData& shape) override;

    const QImage& Picture() const { return picture_; }
    QPoint PictureOffset() const { return offset_; }

    // Keeps the window above all others or lets it go, without moving, resizing or
    // activating it; nothing happens when unchanged.
    void SetStaysOnTop(bool on);
    bool StaysOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
    // Raises the window without activating it.
    void RaiseWithoutActivation();
    // Shows the window without taking the activation from whatever has it.
    void ShowWithoutActivation();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QImage picture_;
    QPoint offset_;
};

} // namespace orvanel
