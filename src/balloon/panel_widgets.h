#pragma once

#include <QFrame>
#include <QLabel>

#include <functional>

namespace orvanel {

// A panel of the main balloon (frameSelect, frameMenu, frameTeach, frameSearch, Frame3 and
// the option frames). It keeps the mouse to itself rather than passing it to the balloon
// under it, and tells its owner what the mouse did.
class PanelFrame : public QFrame {
    Q_OBJECT
public:
    explicit PanelFrame(QWidget* parent = nullptr);
    void SetBackground(const QColor& color);

Q_SIGNALS:
    void Hovered();
    void DoubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A label that acts as a button or menu line (lblYes, lblNo, lblMenu, lblLearnOK, ...):
// clicked on release over it, hovered on every move over it.
class PanelLabel : public QLabel {
    Q_OBJECT
public:
    explicit PanelLabel(const QString& text = {}, QWidget* parent = nullptr);
    void SetBackground(const QColor& color);
    QColor Background() const;
    void SetTextColor(const QColor& color);
    QColor TextColor() const;
    // A label that acts as a button is one for assistive technology too.
    void SetActsAsButton(bool on) { button_ = on; }
    bool ActsAsButton() const { return button_; }
    // A click without the mouse (an assistive technology's press); nothing when disabled.
    void Press();

Q_SIGNALS:
    void Clicked();
    void Hovered();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
    bool button_ = false;
};

// Calls `onEnter` for the Enter key in the widget it watches (a line edit); other keys pass.
class EnterKeyFilter : public QObject {
    Q_OBJECT
public:
    EnterKeyFilter(QObject* watched, std::function<void()> onEnter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> onEnter_;
};

// 0x404040, the panel buttons' normal text colour, and 0x8080FF, their hover colour.
inline constexpr qint32 kButtonTextBgr = 4210752;
inline constexpr qint32 kButtonHoverBgr = 8421631;

} // namespace orvanel
