#include "app/shell_commands.h"

#include "app/message_boxes.h"
#include "app/option_window.h"
#include "app/shell_lifecycle.h"
#include "app/shell_parts.h"
#include "app/shell_scripts.h"
#include "app/shell_talk.h"
#include "app/skin_select_window.h"
#include "app/word_registration_window.h"
#include "core/app_context.h"
#include "core/version_info.h"
#include "engine/engine.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "script/play_state.h"
#include "script/script_player.h"
#include "script/word_source.h"
#include "talk/dictionary_export.h"
#include "talk/talk_engine.h"
#include "tools/trace_log.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

TouchArea TouchAreaOf(CharacterWindow::Area area) {
    switch (area) {
    case CharacterWindow::Area::Body:
        break;
    case CharacterWindow::Area::Head:
        return TouchArea::Head;
    case CharacterWindow::Area::EyeL:
    case CharacterWindow::Area::EyeR:
        return TouchArea::Eye;
    case CharacterWindow::Area::Nose:
        return TouchArea::Nose;
    case CharacterWindow::Area::Mouth:
        return TouchArea::Mouth;
    case CharacterWindow::Area::CheekL:
    case CharacterWindow::Area::CheekR:
        return TouchArea::Cheek;
    }
    return TouchArea::Body;
}

} // namespace

ShellCommands::ShellCommands(ShellParts& parts, CharacterView& character, ShellLifecycle& lifecycle)
    : parts_(parts), character_(character), lifecycle_(lifecycle) {
    connect(&parts.receiver, &DatagramReceiver::ScriptReceived, this,
            &ShellCommands::ScriptArrived);
    connect(&parts.character, &CharacterWindow::Pressed, this,
            [this](CharacterWindow::Area area, Qt::MouseButton button) {
                CharacterPressed(area, button);
            });
    connect(&parts.character, &CharacterWindow::Released, this,
            [this](CharacterWindow::Area, Qt::MouseButton button, Qt::KeyboardModifiers,
                   QPoint global) {
                if (!parts_.closed && button == Qt::RightButton) OpenCharacterMenu(global);
            });
    connect(&parts.character, &CharacterWindow::Clicked, this,
            [this](CharacterWindow::Area area, Qt::KeyboardModifiers modifiers) {
                if (parts_.closed || answeredWait_) return;
                parts_.engine->Talk().Touch().Clicked(TouchAreaOf(area),
                                                      modifiers.testFlag(Qt::ControlModifier));
                Touched();
            });
    connect(&parts.character, &CharacterWindow::Moved, this,
            [this](CharacterWindow::Area area, QPoint pos, Qt::MouseButtons) {
                CharacterMoved(area, pos);
            });
    connect(&parts.character, &CharacterWindow::DoubleClicked, this,
            [this](CharacterWindow::Area area) {
                if (parts_.closed || answeredWait_) return;
                parts_.engine->Talk().Touch().DoubleClicked(TouchAreaOf(area));
                Touched();
            });
    // After the drop has been answered: a dictionary pass or a question may take a while, and
    // the program the drop came from should not wait for it.
    connect(&parts.character, &CharacterWindow::Dropped, this, &ShellCommands::Dropped,
            Qt::QueuedConnection);
    DropReactions::Hooks& drops = parts.engine->Talk().Drops().hooks;
    drops.confirm = [this](const QString& question) { return parts_.boxes.Confirm(question); };
    drops.skinsArrived = [this] {
        OpenSkinSelection();
        skinSelect_->Refresh();
    };
    // The updater takes over; the switches are still saved on the way out.
    drops.endNow = [this] { lifecycle_.Close(); };
    // The balloons go along at every tick of a drag; afterwards both stand on the bottom.
    const auto dragged = [this] { parts_.ticks.Reschedule(); };
    const auto dropped = [this] { parts_.StandOnBottom(); };
    connect(&parts.character, &CharacterWindow::Dragged, this, dragged);
    connect(&parts.character, &CharacterWindow::DragFinished, this, dropped);
    connect(&parts.fellow, &FellowWindow::Dragged, this, dragged);
    connect(&parts.fellow, &FellowWindow::DragFinished, this, dropped);
    connect(&parts.character, &CharacterWindow::CloseRequested, this,
            [this] { lifecycle_.Close(); });
    connect(&parts.fellow, &FellowWindow::Poked, this, &ShellCommands::FellowPoked);

    CharacterMenu& menu = parts.menu;
    menu.SetHandler(MenuItem::Config, [this] { OpenOptions(); });
    menu.SetHandler(MenuItem::WordRegistration, [this] { OpenWordRegistration(); });
    menu.SetHandler(MenuItem::Skin, [this] { OpenSkinSelection(); });
    menu.SetHandler(MenuItem::Export, [this] { ExportDictionary(); });
    menu.SetHandler(MenuItem::OnTop, [this] { ToggleOnTop(); });
    menu.SetHandler(MenuItem::Hide, [this] { ToggleHide(); });
    menu.SetHandler(MenuItem::Silent, [this] { ToggleSilent(); });
    for (MenuItem item : {MenuItem::ScenarioEdit, MenuItem::ScriptEdit, MenuItem::ScriptSend})
        menu.SetHandler(item, [this, item] { StartPlugIn(item); });
    menu.SetHandler(MenuItem::Mini, [this] {
        if (parts_.ctx.flags.minimized)
            Restore(false);
        else
            Minimize();
    });
    menu.SetHandler(MenuItem::About, [this] { ShowAbout(); });
    menu.SetHandler(MenuItem::End, [this] { EndCommand(); });
    // The icon's menu is the character's, prepared for the icon.
    connect(menu.Menu(), &QMenu::aboutToShow, this, [this] {
        if (parts_.ctx.flags.minimized) PrepareMenu(false);
    });
}

ShellCommands::~ShellCommands() {
    delete optionWindow_;
    delete skinSelect_;
    delete about_;
}

// ---------------------------------------------------------------------------------------------
// The mouse and the port

void ShellCommands::ScriptArrived(const ReceivedScript& received) {
    // After the End command the farewell is the last thing she says: a stream of datagrams
    // must not keep her from leaving.
    if (parts_.closed || parts_.ctx.flags.exitRequest) return;
    character_.ShowSurface(1, false);
    parts_.engine->Player().PlayScript(received.script,
                                       received.local ? ScriptOrigin::Local : ScriptOrigin::Remote);
}

void ShellCommands::Touched() {
    parts_.ticks.Reschedule();
}

void ShellCommands::CharacterPressed(CharacterWindow::Area area, Qt::MouseButton button) {
    if (parts_.closed || button != Qt::LeftButton) return;
    // While she waits for a click, a click on her answers as one on her balloon does, and is
    // no touch.
    ScriptPlayer& player = parts_.engine->Player();
    answeredWait_ = player.WaitingForClick();
    if (answeredWait_) {
        player.Click();
        return;
    }
    // A drag may follow: the balloons follow it tick by tick.
    parts_.engine->Talk().Touch().Pressed(TouchAreaOf(area));
    Touched();
}

void ShellCommands::CharacterMoved(CharacterWindow::Area area, QPoint pos) {
    if (parts_.closed) return;
    const bool wasStroking = parts_.ctx.touch.stroking;
    parts_.engine->Talk().Touch().Moved(TouchAreaOf(area), pos);
    if (parts_.ctx.touch.stroking && !wasStroking) Touched();
}

void ShellCommands::Dropped(const QStringList& files, const QString& text, bool hasText) {
    if (parts_.closed) return;
    parts_.engine->Talk().Drops().Drop(files, hasText ? std::optional(text) : std::nullopt);
}

void ShellCommands::FellowPoked() {
    if (!parts_.closed) parts_.Play(FellowPokeScript(parts_.ctx.random.Pick(3)));
}

void ShellCommands::PrepareMenu(bool fromCharacter) {
    const RunFlags& flags = parts_.ctx.flags;
    CharacterMenu::State state;
    state.onTop = parts_.engine->Play().OnTop();
    state.hide = flags.hide;
    state.silent = flags.silent;
    state.minimized = flags.minimized;
    state.trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    state.programFolder = parts_.ctx.settings.AppFolder();
    parts_.menu.Prepare(state, fromCharacter);
}

void ShellCommands::OpenCharacterMenu(QPoint global) {
    PrepareMenu(true);
    parts_.menu.Menu()->popup(global);
}

// ---------------------------------------------------------------------------------------------
// Menu commands

void ShellCommands::OpenOptions() {
    if (!optionWindow_) {
        optionWindow_ = new OptionWindow(parts_.ctx, [this](const QString& s) { parts_.Play(s); });
    }
    parts_.Present(*optionWindow_);
}

void ShellCommands::OpenSkinSelection() {
    if (!skinSelect_) {
        skinSelect_ = new SkinSelectWindow(
            parts_.ctx, [this] { return parts_.engine->Source().GetWord(u"終了時"_s); },
            [this](const QString& s) { parts_.Play(s); });
    }
    parts_.Present(*skinSelect_);
}

void ShellCommands::OpenWordRegistration() {
    if (!wordRegistration_) {
        parts_.ticks.Stop();
        wordRegistration_ = new WordRegistrationWindow(
            parts_.ctx, parts_.engine->Words(), parts_.engine->Player(), [this](bool restart) {
                character_.SetEnabled(true);
                if (restart && !parts_.closed && !parts_.ctx.flags.minimized) parts_.ticks.Start();
                parts_.loop.Wake();
            });
        parts_.Present(*wordRegistration_);
        parts_.Play(u"\\h単語登録中です。"_s);
        parts_.ctx.flags.balloonHold = true;
        character_.SetEnabled(false);
    }
    parts_.Present(*wordRegistration_);
    wordRegistration_->Input()->setFocus();
}

void ShellCommands::ExportDictionary() {
    DictionaryExport exporter(parts_.ctx, parts_.engine->Player());
    exporter.Export(DesktopFolder(), [this](const QString& q) { return parts_.boxes.Confirm(q); });
}

void ShellCommands::ToggleOnTop() {
    PlayState& play = parts_.engine->Play();
    play.SetOnTop(!play.OnTop());
    parts_.menu.Item(MenuItem::OnTop)->setChecked(play.OnTop());
    character_.SetTopmost(play.OnTop());
}

void ShellCommands::ToggleHide() {
    RunFlags& flags = parts_.ctx.flags;
    flags.hide = !flags.hide;
    parts_.ticks.Reschedule();
    parts_.menu.Item(MenuItem::Hide)->setChecked(flags.hide);
}

void ShellCommands::ToggleSilent() {
    RunFlags& flags = parts_.ctx.flags;
    flags.silent = !flags.silent;
    parts_.menu.Item(MenuItem::Silent)->setChecked(flags.silent);
}

void ShellCommands::StartPlugIn(MenuItem item) {
    const QString line = item == MenuItem::ScenarioEdit ? u"\\hシナリオエディタ実行！"_s
                         : item == MenuItem::ScriptEdit ? u"\\hスクリプトエディタ実行！"_s
                                                        : u"\\hSender実行！"_s;
    parts_.ctx.actions.StartProgram(parts_.ctx.settings.AppFolder() +
                                        CharacterMenu::PlugInProgram(item).value_or(QString()),
                                    {});
    parts_.Play(line);
}

void ShellCommands::Minimize() {
    AppContext& ctx = parts_.ctx;
    if (ctx.flags.minimized) return;
    ctx.log.LogBegin(u"Minimize..."_s);
    parts_.menu.Item(MenuItem::Mini)->setChecked(true);
    parts_.menu.Item(MenuItem::Skin)->setVisible(false);
    parts_.ticks.Stop();
    parts_.character.hide();
    parts_.mainBalloon.hide();
    parts_.fellow.hide();
    parts_.fellowBalloon.hide();
    if (!parts_.tray) {
        parts_.tray = std::make_unique<QSystemTrayIcon>();
        parts_.tray->setContextMenu(parts_.menu.Menu());
        connect(parts_.tray.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::DoubleClick && parts_.ctx.flags.minimized)
                        Restore(true);
                });
    }
    QPixmap icon = QPixmap::fromImage(parts_.surfaces.OpenEyes());
    parts_.tray->setIcon(QIcon(
        icon.isNull() ? icon : icon.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    parts_.UpdateTrayTip();
    parts_.tray->show();
    ctx.flags.minimized = true;
    ctx.log.LogEnd(u" Complete"_s);
}

void ShellCommands::Restore(bool fromIcon) {
    AppContext& ctx = parts_.ctx;
    if (!ctx.flags.minimized) return;
    ctx.log.LogBegin(u"Normalize..."_s);
    if (parts_.tray) parts_.tray->hide();
    ctx.flags.minimized = false;
    parts_.menu.Item(MenuItem::Mini)->setChecked(false);
    parts_.menu.Item(MenuItem::Skin)->setVisible(true);
    parts_.ticks.Start();
    if (character_.FellowPresent()) parts_.fellow.ShowWithoutActivation();
    parts_.character.ShowWithoutActivation();
    ctx.log.LogEnd(u" Complete"_s);
    parts_.Play(RestoreGreeting(ctx.random.Pick(3), fromIcon, parts_.engine->Source()));
}

void ShellCommands::BringForward() {
    if (parts_.closed) return;
    parts_.ctx.log.LogLine(u"Second Start"_s);
    if (parts_.ctx.flags.minimized) {
        Restore(false);
    } else if (!parts_.character.isVisible()) {
        if (character_.FellowPresent()) parts_.fellow.ShowWithoutActivation();
        parts_.character.ShowWithoutActivation();
    }
    for (ShapedPictureWindow* w : std::initializer_list<ShapedPictureWindow*>{
             &parts_.fellow, &parts_.character, &parts_.fellowBalloon, &parts_.mainBalloon})
        w->RaiseWithoutActivation();
}

void ShellCommands::ShowAbout() {
    if (!about_) {
        const Settings& settings = parts_.ctx.settings;
        const VersionInfo version(settings.AppFolder());
        auto* box = new QMessageBox(
            QMessageBox::Information, u"TOMUについて"_s,
            u"Orvanel\nVersion "_s + VersionInfo::AppVersion() + u" Phase"_s + version.PhaseText() +
                u"\n"_s + version.ReleaseDate() + u"\n\n"_s + settings.AppFolderNoSlash(),
            QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        about_ = box;
    }
    parts_.Present(*about_);
}

void ShellCommands::EndCommand() {
    AppContext& ctx = parts_.ctx;
    if (ctx.flags.minimized) {
        lifecycle_.Close();
        return;
    }
    ctx.flags.exitRequest = true;
    parts_.Play(FarewellScript(UptimeText(ctx.flags.startTick, ctx.clock.TickCount()),
                               parts_.engine->Source().GetWord(u"終了時"_s)));
}

} // namespace orvanel
