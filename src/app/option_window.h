#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace orvanel {

class AppContext;

// frmOption, "TOMU ユーザー設定": the idle-talk interval, the balloon display time, the
// user's names and the script speed, and whether she starts at login. While it is open the
// balloons stay open. The two times are counted in main-timer ticks; a number outside a
// sensible range is refused.
class OptionWindow : public QWidget {
    Q_OBJECT
public:
    // `play` hands a script to the player.
    OptionWindow(AppContext& ctx, std::function<void(const QString&)> play,
                 QWidget* parent = nullptr);
    ~OptionWindow() override;

    // Text1..Text5 (index 0..4) and Slider1.
    QLineEdit* Field(int index) const { return fields_[size_t(index)]; }
    QSlider* Speed() const { return slider_; }
    QCheckBox* StartAtLogin() const { return startAtLogin_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    // Why the last OK was refused ("" when it was not).
    QString Refusal() const;

    void Ok();
    void Cancel();

private:
    AppContext& ctx_;
    std::function<void(const QString&)> play_;
    std::array<QLineEdit*, 5> fields_{};
    QSlider* slider_;
    QCheckBox* startAtLogin_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QLabel* refusal_;
    QString callAtLoad_;
};

} // namespace orvanel
