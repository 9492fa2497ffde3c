#pragma once

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;

namespace orvanel {

class CharacterView;
class Engine;
class ShellTalk;

// The status boxes of the debug window, frame by frame: "スクリプト", "タイマー" (the last four
// without a caption: the stroke ticks and the quiet ticks of the eyes, the mouth and the
// body), "フラグ".
enum class DebugBox {
    TalkCount,
    PlayPosition,
    MsgScope,
    Murmur,
    MainBalloon,
    FellowBalloon,
    Blink,
    StrokeTicks,
    EyeQuiet,
    MouthQuiet,
    BodyQuiet,
    TimeSignal,
    BalloonHold,
    FaceChange,
    InputForm,
    SelectForm,
    Minimized,
    ScriptRunning,
};
inline constexpr int kDebugBoxCount = int(DebugBox::ScriptRunning) + 1;

// What each box shows now: numbers in decimal, "left/limit" for the counters that run up to a
// limit, flags as "True" or "False".
std::array<QString, kDebugBoxCount> DebugStatus(const Engine& engine);

// frmDebug, "TOMU デバッグウインドウ": the program's counters and flags, a line that plays
// what is typed into it at once (MsgTest), switches for the hit areas of the face, the last
// mouse position over her (Text12), and a menu that runs every topic on demand. It changes
// nothing that is saved. The boxes are refreshed only while the window is shown.
class DebugWindow : public QMainWindow {
    Q_OBJECT
public:
    // What the window asks of the rest of the program.
    struct Hooks {
        std::function<void(const QString&)> play; // plays a script at once
        std::function<void(bool)> hitAreasOff;    // Check1 "判定OFF"
        std::function<void(bool)> hitAreaFrames;  // Check2 "枠表示"
        std::function<void()> showLog;
        std::function<void()> openRegistration;
        std::function<void()> exportDictionary;
        std::function<void()> showAbout;
    };
    static constexpr int kRefreshMs = 100;

    DebugWindow(Engine& engine, ShellTalk& talk, CharacterView& character, Hooks hooks,
                QWidget* parent = nullptr);
    ~DebugWindow() override;

    QLineEdit* ScriptLine() const { return msgTest_; }
    QLineEdit* Box(DebugBox box) const { return boxes_[size_t(box)]; }
    QLineEdit* Coordinates() const { return text12_; }
    QCheckBox* HitTestOff() const { return check1_; }
    QCheckBox* ShowFrames() const { return check2_; }
    bool Refreshing() const { return timer1_.isActive(); }

    // The mouse over her body at `twips` (Text12).
    void ShowPointer(QPoint twips);
    // Reads every box afresh.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    void EnterScript();

    Engine& engine_;
    ShellTalk& talk_;
    CharacterView& character_;
    Hooks hooks_;
    QLineEdit* msgTest_;
    std::array<QLineEdit*, kDebugBoxCount> boxes_{};
    QLineEdit* text12_;
    QCheckBox* check1_;
    QCheckBox* check2_;
    QTimer timer1_;
};

} // namespace orvanel
