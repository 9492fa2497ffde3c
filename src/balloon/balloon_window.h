#pragma once

#include "balloon/shaped_picture_window.h"
#include "core/views.h"

#include <functional>

namespace orvanel {

class AppContext;
class MessageLabel;

// What both balloon windows share: the balloon picture with its outline, the message label,
// the placement against the character, and the mouse actions on label and picture (a click
// ends the running wait, a double click hides the balloon, moving the mouse over it keeps it
// open).
class BalloonWindow : public ShapedPictureWindow {
    Q_OBJECT
public:
    // `index` is the skin's balloon number: 0 the main character's, 1 the fellow's.
    BalloonWindow(AppContext& ctx, int index, QWidget* parent = nullptr);

    MessageLabel& Label() const { return *label_; }
    int Index() const { return index_; }

    // 16 px bold message text instead of 12 px (the Bold setting).
    void SetBold(bool bold);
    // Stands the balloon against its character window with the skin's offsets.
    void PlaceAgainst(const QWidget& character);
    // The main timer's display counter of this balloon.
    qint32& DisplayCounter() const;

    // A single click on the label or the picture.
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    // BalloonView's work, shared by both windows.
    void ShowBalloon() { ShowWithoutActivation(); }
    quint64 ActivateBalloon();
    static void RestoreActivationTo(quint64 token);
    // Colour and place of the label (twips).
    void PlaceLabel(const QRect& twips, qint32 backColor);

    AppContext& ctx_;

private:
    int index_;
    MessageLabel* label_;
    bool pressed_ = false;
};

// A balloon window seen through its view interface (BalloonView or MainBalloonView): the
// window operations every balloon view forwards in the same way.
template <class View> class BalloonWindowOf : public BalloonWindow, public View {
public:
    using BalloonWindow::BalloonWindow;

    void Show() override { ShowBalloon(); }
    void Hide() override { hide(); }
    bool IsVisible() const override { return isVisible(); }
    void BringToFront() override { RaiseWithoutActivation(); }
    void SetTopmost(bool on) override { SetStaysOnTop(on); }
    quint64 Activate() override { return ActivateBalloon(); }
    void RestoreActivation(quint64 token) override { RestoreActivationTo(token); }
};

} // namespace orvanel
