#pragma once

#include "balloon/balloon_window.h"
#include "core/views.h"

namespace orvanel {

// frmBln_f: the fellow's balloon, its picture and its message label.
class FellowBalloon final : public BalloonWindowOf<BalloonView> {
    Q_OBJECT
public:
    explicit FellowBalloon(AppContext& ctx, QWidget* parent = nullptr);

    // Colour and message area of balloon 1 (PlaceFellowMessageArea).
    void PlaceFellowMessageArea();

    void SetMessage(const QString& text) override;
    QString Message() const override;
};

} // namespace orvanel
