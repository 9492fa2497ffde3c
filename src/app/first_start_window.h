#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QLineEdit;
class QPushButton;

namespace orvanel {

class AppContext;
class CharacterView;

// Form6, "初回起動 - ユーザー情報チェック": asks a new user for the names. The character
// takes no input while it is open; closed without an answer it lets her go on as before.
class FirstStartWindow : public QWidget {
    Q_OBJECT
public:
    FirstStartWindow(AppContext& ctx, CharacterView* character,
                     std::function<void(const QString&)> play, QWidget* parent = nullptr);
    ~FirstStartWindow() override;

    // Text1..Text3 (index 0..2): 名字, 名前, 呼び方.
    QLineEdit* Field(int index) const { return fields_[size_t(index)]; }
    QPushButton* OkButton() const { return ok_; }
    void Ok();

    // The window was closed without OK: the names stay unknown, so the next start asks again.
    std::function<void()> dismissed;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext& ctx_;
    CharacterView* character_;
    std::function<void(const QString&)> play_;
    std::array<QLineEdit*, 3> fields_{};
    QPushButton* ok_;
    bool answered_ = false;
};

} // namespace orvanel
