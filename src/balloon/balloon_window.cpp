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
    // Only activation among our own windows moves: another program keeps the keyboard.
    QWidget* active = QApplication::activeWindow();
    if (!active) return 0;
    activateWindow();
    return quint64(active->winId());
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
    if (click && onClick) onClick();
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
