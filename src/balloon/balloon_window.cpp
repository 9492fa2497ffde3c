#include "balloon/balloon_window.h"

#include "balloon/balloon_accessibility.h"
#include "balloon/balloon_layout.h"
#include "balloon/message_label.h"
#include "core/app_context.h"

#include <QApplication>
#include <QMouseEvent>

namespace orvanel {

BalloonWindow::BalloonWindow(AppContext& ctx, int index, QWidget* parent)
    : ShapedPictureWindow(parent), ctx_(ctx), index_(index),
      label_((InstallBalloonAccessibility(), new MessageLabel(this))) {
    setMouseTracking(true);
    label_->setObjectName(QStringLiteral("lblMsg"));
    PlaceLabel(kDefaultMsgArea, ctx_.skin.balloons[size_t(index_)].backColor);
}

void BalloonWindow::SetBold(bool bold) {
    label_->setFont(MessageLabel::BalloonFont(bold));
}

void BalloonWindow::PlaceAgainst(const QWidget& character) {
    const SkinState::Balloon& b = ctx_.skin.balloons[size_t(index_)];
    move(BalloonPosition(character.pos(), size(), QPoint(b.left, b.top)));
}

qint32& BalloonWindow::DisplayCounter() const {
    return index_ == 0 ? ctx_.flags.mainBalloonCounter : ctx_.flags.fellowBalloonCounter;
}

void BalloonWindow::PlaceLabel(const QRect& twips, qint32 backColor) {
    label_->setGeometry(TwipsToPixels(twips));
    label_->SetBackground(ColorFromBgr(backColor));
}

quint64 BalloonWindow::ActivateBalloon() {
    // Activating the balloon and giving the activation back is a round trip through the
    // window manager that the user's typing overtakes: keys went to the balloon, or the
    // settings window lost the keyboard for good. Where the activation would only come back,
    // it never leaves: the balloon comes to the front and the user keeps the keyboard.
    RaiseWithoutActivation();
    return 0;
}

void BalloonWindow::RestoreActivationTo(quint64 token) {
    if (token == 0) return;
    if (QWidget* w = QWidget::find(WId(token))) w->activateWindow();
}

void BalloonWindow::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void BalloonWindow::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (!click) return;
    // A text longer than the balloon turns to its next lines.
    label_->NextPage();
    if (onClick) onClick();
}

void BalloonWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // The second press of the pair is no click of its own; the first one already was.
    pressed_ = false;
    hide();
}

void BalloonWindow::mouseMoveEvent(QMouseEvent*) {
    DisplayCounter() = 0;
}

} // namespace orvanel
