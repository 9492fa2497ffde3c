#pragma once

#include "app/views.h"
#include "balloon/balloon_window.h"

namespace orvanel {

// frmBln_f: the fellow's balloon, its picture and its message label.
class FellowBalloon final : public BalloonWindow, public BalloonView {
    Q_OBJECT
public:
    explicit FellowBalloon(AppContext& ctx, QWidget* parent = nullptr);

    // Colour and message area of balloon 1 (PlaceFellowMessageArea).
    void PlaceFellowMessageArea();

    void Show() override { ShowBalloon(); }
    void Hide() override { hide(); }
    bool IsVisible() const override { return isVisible(); }
    void BringToFront() override { RaiseWithoutActivation(); }
    void SetTopmost(bool on) override { SetStaysOnTop(on); }
    quint64 Activate() override { return ActivateBalloon(); }
    void RestoreActivation(quint64 token) override { RestoreActivationTo(token); }
    void SetMessage(const QString& text) override;
    QString Message() const override;
};

} // namespace orvanel
