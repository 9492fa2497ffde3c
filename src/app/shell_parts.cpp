#include "app/shell_parts.h"

#include "app/character_drag.h"
#include "app/message_boxes.h"
#include "app/shell_talk.h"
#include "core/app_context.h"
#include "core/geometry.h"
#include "engine/engine.h"
#include "platform/linux/system_sources.h"
#include "platform/linux/x11_screens.h"
#include "script/script_player.h"
#include "watch/main_timer.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

QList<QRect> ShellParts::Screens() {
    QList<QRect> out;
    for (const QScreen* s : QGuiApplication::screens())
        out.append(s->geometry());
    if (out.isEmpty()) out.append(QRect(0, 0, 1024, 768));
    return out;
}

QRect ShellParts::ScreenOf(const QWidget& window) {
    return orvanel::ScreenOf(Screens(), window.frameGeometry());
}

QRect ShellParts::WorkAreaOf(const QRect& screen) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    // With one screen Qt has the window manager's work area; with more it gives each the
    // whole screen, so the panels are asked for.
    if (screens.size() > 1) return X11WorkArea(screen).value_or(screen);
    for (const QScreen* s : screens)
        if (s->geometry() == screen) return s->availableGeometry();
    return screen;
}

void ShellParts::StandOnBottom(QWidget& window, std::optional<int> x) {
    const QPoint at =
        StandingPosition(x.value_or(window.x()), window.size(), WorkAreaOf(ScreenOf(window)));
    if (window.pos() != at) window.move(at);
}

void ShellParts::StandOnBottom() {
    StandOnBottom(character);
    if (fellowLoaded) StandOnBottom(fellow);
}

void ShellParts::PlaceAtStart() {
    const Settings& settings = ctx.settings;
    QScreen* screen = QGuiApplication::primaryScreen();
    const QString name = settings.Text(SettingKey::Screen);
    for (QScreen* s : QGuiApplication::screens())
        if (!name.isEmpty() && s->name() == name) screen = s;
    const QRect area = screen ? screen->geometry() : Screens().first();
    bool known = false;
    const int stored = settings.Text(SettingKey::PositionX).toInt(&known);
    // A remembered place on a screen that has since become narrower stays on it.
    const int x = known ? qBound(0, stored, qMax(0, area.width() - character.width()))
                        : qRound(0.73 * area.width());
    // On that screen first, so that its work area is the one she stands on.
    character.move(area.x() + x, area.y());
    StandOnBottom(character);
    placed = true;
}

void ShellParts::Present(QWidget& window) const {
    if (!window.isVisible()) {
        // Above her on-top windows only while hers stay on top.
        const bool onTop = character.StaysOnTop();
        if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
            window.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        // Room for the title beside the window manager's buttons.
        const int titleWidth = window.fontMetrics().horizontalAdvance(window.windowTitle());
        window.resize(qMax(window.sizeHint().width(), titleWidth * 5 / 4 + 160),
                      window.sizeHint().height());
        const QRect work = WorkArea();
        window.move(KeepInside(work.center() - window.rect().center(), window.size(), work));
        window.show();
    }
    window.raise();
    window.activateWindow();
}

bool ShellParts::RememberPlace() const {
    if (!placed) return true;
    const Settings& settings = ctx.settings;
    const QRect area = ScreenGeometry();
    QString name;
    for (const QScreen* s : QGuiApplication::screens())
        if (s->geometry() == area) name = s->name();
    const bool x =
        settings.WriteSetting(SettingKey::PositionX, QString::number(character.x() - area.x()));
    return settings.WriteSetting(SettingKey::Screen, name) && x;
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
