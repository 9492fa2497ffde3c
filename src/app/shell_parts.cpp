#include "app/shell_parts.h"

#include "app/character_drag.h"
#include "app/message_boxes.h"
#include "app/shell_talk.h"
#include "core/app_context.h"
#include "engine/engine.h"
#include "platform/linux/system_sources.h"
#include "script/script_player.h"
#include "watch/main_timer.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace orvanel {

namespace {

// The tick driver sleeps until the next thing it knows is due; what the user does may make
// something due sooner (a face held, a balloon shown, a flag set by a window), so every press,
// key and drop anywhere in the program brings the next tick back to its time.
class InputWake : public QObject {
public:
    explicit InputWake(TickDriver& ticks) : ticks_(ticks) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
        case QEvent::Drop:
            ticks_.Reschedule();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TickDriver& ticks_;
};

} // namespace

ShellParts::ShellParts(AppContext& ctx, MessageBoxes& boxes)
    : ctx(ctx), boxes(boxes), engine(std::make_unique<Engine>(ctx)),
      talk(std::make_unique<EngineTalk>(engine->Talk())), mainBalloon(ctx), fellowBalloon(ctx),
      progress(ctx, [this] { UnloadSplash(); }), surfaces(ctx, character, progress, boxes),
      receiver(ctx.log, ctx.clock),
      loop(
          ctx, [this] { Step(); }, [this] { return engine->Player().IsRunning(); }),
      ticks(
          ctx.clock, [this] { Tick(); }, [this] { return QuietTicks(); }) {
    // Whatever starts a script (a click, an answer, a datagram, the timer) has it stepped at
    // once, and the main timer back at every tick while it plays.
    engine->Player().hooks.started = [this] {
        loop.Wake();
        ticks.Reschedule();
    };
    inputWake_ = std::make_unique<InputWake>(ticks);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(inputWake_.get());
}

ShellParts::~ShellParts() {
    // A shell closed before the splash's time was up still frees it.
    UnloadSplash();
}

void ShellParts::Play(const QString& script) {
    engine->Player().PlayScript(script);
}

QRect ShellParts::ScreenGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

QRect ShellParts::WorkArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : ScreenGeometry();
}

void ShellParts::SetTopmost(bool on) {
    character.SetStaysOnTop(on);
    fellow.SetStaysOnTop(on);
}

void ShellParts::UpdateProbes() {
    engine->UpdateProbes(ScreenGeometry());
}

void ShellParts::UpdateTrayTip() {
    if (tray) tray->setToolTip((u"TOMU - "_s + ctx.skin.name).left(63));
}

void ShellParts::UnloadSplash() {
    if (splash) delete splash.data();
}

void ShellParts::Step() {
    if (!closed) engine->Player().StepScript();
}

void ShellParts::Tick() {
    if (closed) return;
    engine->Timer()->Tick();
}

// A dragged character takes its balloon along on every tick.
int ShellParts::QuietTicks() const {
    if (character.Drag().Dragging() || fellow.Drag().Dragging()) return 0;
    return engine->Timer()->QuietTicks(TickDriver::kMaxQuietTicks);
}

} // namespace orvanel
