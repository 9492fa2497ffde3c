#include "app/shell_tools.h"

#include "app/debug_window.h"
#include "app/log_window.h"
#include "app/shell_commands.h"
#include "app/shell_parts.h"
#include "app/system_launcher_window.h"
#include "core/app_context.h"
#include "engine/engine.h"
#include "platform/system_actions.h"
#include "script/script_player.h"
#include "talk/talk_engine.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// The skin's twips on the screen's pixels.
constexpr int kTwipsPerPixel = 15;

} // namespace

ShellTools::ShellTools(ShellParts& parts, CharacterView& character, ShellCommands& commands)
    : parts_(parts), character_(character), commands_(commands) {
    parts.menu.SetHandler(MenuItem::Debug, [this] {
        OpenDebugWindow();
        parts_.Play(u"\\hデバッグウインドウ表示～。"_s);
    });
    parts.menu.SetHandler(MenuItem::SystemLaunch, [this] { OpenLauncher(); });
    parts.engine->Talk().Menu().openLauncher = [this] { OpenLauncher(); };
    connect(&parts.character, &CharacterWindow::Moved, this,
            [this](CharacterWindow::Area area, QPoint pos, Qt::MouseButtons) {
                if (debug_ && area == CharacterWindow::Area::Body)
                    debug_->ShowPointer(pos * kTwipsPerPixel);
            });
    // The line she says to it is the touch reactions'; the focus ends in the window.
    connect(&parts.character, &CharacterWindow::Clicked, this,
            [this](CharacterWindow::Area area, Qt::KeyboardModifiers modifiers) {
                if (!parts_.closed && area == CharacterWindow::Area::Nose &&
                    modifiers.testFlag(Qt::ControlModifier))
                    OpenDebugWindow();
            });
}

// Closed before the windows and the engine they read.
ShellTools::~ShellTools() {
    delete debug_.data();
    delete launcher_.data();
    delete log_.data();
}

LogWindow* ShellTools::Log() const {
    return log_;
}
SystemLauncherWindow* ShellTools::Launcher() const {
    return launcher_;
}
DebugWindow* ShellTools::Debug() const {
    return debug_;
}

void ShellTools::ShowLog() {
    if (!log_) log_ = new LogWindow(parts_.ctx.log);
    log_->show();
    log_->raise();
}

void ShellTools::OpenLauncher() {
    if (!launcher_)
        launcher_ = new SystemLauncherWindow(
            parts_.ctx.log,
            [this](const QString& program, const QStringList& arguments) {
                return parts_.ctx.actions.StartProgram(program, arguments);
            },
            [this](const QString& script) {
                parts_.engine->Player().PlayScript(script, ScriptOrigin::Menu);
            });
    launcher_->show();
    launcher_->raise();
    launcher_->activateWindow();
}

DebugWindow& ShellTools::OpenDebugWindow() {
    if (!debug_) {
        CharacterWindow& face = parts_.character;
        DebugWindow::Hooks hooks;
        hooks.play = [this](const QString& script) {
            parts_.engine->Player().PlayScript(script, ScriptOrigin::Debug);
        };
        hooks.hitAreasOff = [this, &face](bool off) {
            if (off)
                face.MoveHitAreasAway();
            else
                face.PlaceHitAreas(orvanel::PlaceHitAreas(parts_.ctx));
        };
        hooks.hitAreaFrames = [&face](bool on) { face.SetHitAreaFrames(on); };
        hooks.showLog = [this] { ShowLog(); };
        hooks.openRegistration = [this] { commands_.OpenWordRegistration(); };
        hooks.exportDictionary = [this] { commands_.ExportDictionary(); };
        hooks.showAbout = [this] { commands_.ShowAbout(); };
        debug_ = new DebugWindow(*parts_.engine, *parts_.talk, character_, std::move(hooks));
        // A window unloaded with its switches on leaves her face as the skin has it.
        connect(debug_, &QObject::destroyed, this, [this, &face] {
            if (parts_.closed) return;
            face.PlaceHitAreas(orvanel::PlaceHitAreas(parts_.ctx));
            face.SetHitAreaFrames(false);
        });
    }
    debug_->show();
    debug_->raise();
    debug_->activateWindow();
    debug_->ScriptLine()->setFocus();
    return *debug_;
}

void ShellTools::OpenDebugWindowAtStart() {
    DebugWindow& window = OpenDebugWindow();
    const QPoint origin = parts_.ScreenGeometry().topLeft();
    window.move(origin + QPoint(200, 5500) / kTwipsPerPixel);
}

void ShellTools::CloseDebugWindow() {
    if (debug_ && debug_->isVisible()) debug_->close();
}

} // namespace orvanel
