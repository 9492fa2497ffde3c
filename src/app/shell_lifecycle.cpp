#include "app/shell_lifecycle.h"

#include "app/first_start_window.h"
#include "app/message_boxes.h"
#include "app/shell_parts.h"
#include "app/shell_scripts.h"
#include "app/system_watch.h"
#include "character/skin.h"
#include "core/app_context.h"
#include "core/version_info.h"
#include "engine/engine.h"
#include "platform/linux/system_sources.h"
#include "platform/random.h"
#include "platform/text_file.h"
#include "script/play_state.h"
#include "script/script_player.h"
#include "script/word_source.h"
#include "talk/talk_engine.h"
#include "tools/trace_log.h"
#include "watch/main_timer.h"

#include <QApplication>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>

#include <functional>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// A write cut short by a crash or a kill leaves its temporary beside the file it was to
// replace; only those beside the files the program writes are taken away.
void RemoveInterruptedWrites(AppContext& ctx) {
    const Settings& s = ctx.settings;
    const std::pair<QString, QStringList> places[] = {
        {s.AppFolder(), {u"tomu.ini"_s}},
        {s.FilePath(u"TalkEngine"_s), {u"*.ini"_s}},
        {s.FilePath(SkinFolderPrefix(ctx)), {u"Region.ini"_s, u"*.rgn"_s}},
    };
    for (const auto& [folder, targets] : places)
        for (const QString& path : orvanel::RemoveInterruptedWrites(folder, targets))
            ctx.log.LogLine(u"Removed an interrupted write: "_s + path);
}

} // namespace

ShellLifecycle::ShellLifecycle(ShellParts& parts, CharacterView& character, quint16 port)
    : parts_(parts), character_(character), port_(port) {
    parts.ctx.settings.OnWriteFailure([this](const QString& file) { SettingsUnwritable(file); });
}

ShellLifecycle::~ShellLifecycle() {
    parts_.ctx.settings.OnWriteFailure({});
    delete firstStart_;
}

// Once per run: she goes on with the settings in memory, and the user learns why they (and
// the names of the first start) will not be there at the next start.
void ShellLifecycle::SettingsUnwritable(const QString& file) {
    const QString text = file + u" に書き込めません。\n設定と名前はこの起動の間だけ使われ、"
                                "次の起動には残りません。"_s;
    if (parts_.closed)
        parts_.ctx.log.LogLine(u"Settings not saved: "_s + file); // no box while ending
    else
        parts_.boxes.ShowMessage(text);
}

// ---------------------------------------------------------------------------------------------
// Start-up

// The steps in the order the trace shows them; each ends with what may end the program.
bool ShellLifecycle::Start() {
    AppContext& ctx = parts_.ctx;
    TraceLog& log = ctx.log;
    const VersionInfo version(ctx.settings.AppFolder());
    const std::function<Outcome()> steps[] = {
        [&] {
            log.LogLine(u"Boot"_s);
            log.LogBegin(u"UserInfoLoad... "_s);
            parts_.headlines = LoadHeadlines(ctx.settings.FilePath(u"HeadLine.dat"_s));
            parts_.engine->Talk().Menu().SetHeadlines(parts_.headlines);
            LoadUserInfo(ctx.settings, ctx.profile, log);
            return LoadSurfaceList(ctx, parts_.boxes);
        },
        [&] {
            LoadSkinInfo(ctx);
            log.LogEnd(u"Done"_s);
            RemoveInterruptedWrites(ctx);
            ShowSplash(version);
            LoadMainForm();
            log.LogBegin(u"RegionFileCheck..."_s);
            return parts_.surfaces.PrepareSurfaceShapes();
        },
        [&] { return parts_.surfaces.ShowSurface(1, false); },
        [&] {
            log.LogEnd(u" Complete"_s);
            // Her place first: the fellow joins her on her screen.
            parts_.PlaceAtStart();
            return LoadFellow();
        },
        [&] {
            PlaceWindows();
            log.LogBegin(u"SSTP Host = "_s);
            return LoadMainBalloon();
        },
        [&] {
            Greet(version);
            return OpenPort();
        },
    };
    for (const auto& step : steps)
        if (!Survive(step())) return false;
    Finish();
    return true;
}

void ShellLifecycle::ShowSplash(const VersionInfo& version) {
    parts_.splash = new SplashWindow(parts_.ctx, u"Version "_s + VersionInfo::AppVersion() +
                                                     u" Phase"_s + version.PhaseText());
    parts_.splash->show();
    parts_.splash->raise();
    QCoreApplication::processEvents();
}

// frmKanami's own load: the switches, the random numbers, the scripts, the blink pictures and
// the main timer.
void ShellLifecycle::LoadMainForm() {
    AppContext& ctx = parts_.ctx;
    ctx.log.LogLine(u"Load MainForm"_s);
    parts_.engine->Play().SetOnTop(ctx.settings.Switch(SettingKey::OnTop));
    ctx.flags.hide = ctx.settings.Switch(SettingKey::Hide);
    ctx.flags.silent = ctx.settings.Switch(SettingKey::Silent);
    ctx.random.Seed(quint32(QDateTime::currentMSecsSinceEpoch()));
    parts_.engine->ReloadScriptFiles();
    ctx.flags.startTick = ctx.clock.TickCount();
    parts_.surfaces.LoadBlinkPictures();
    parts_.ticks.Start();
}

void ShellLifecycle::PlaceWindows() {
    CharacterWindow& character = parts_.character;
    character.PlaceHitAreas(orvanel::PlaceHitAreas(parts_.ctx));
    if (parts_.splash) parts_.splash->hide();
    parts_.engine->Timer()->DrawFirstBlinkInterval();
}

// The start-up talk; at the first start the names are asked for; after an update its notes.
void ShellLifecycle::Greet(const VersionInfo& version) {
    AppContext& ctx = parts_.ctx;
    const auto play = [this](const QString& s) { parts_.Play(s); };
    play(StartupTalkScript(ctx.random.Pick(8), ctx.clock.Now(), *parts_.talk,
                           parts_.engine->Source()));
    ctx.log.LogBegin(u"FirstBoot = "_s);
    if (!ctx.profile.callName.isEmpty()) {
        ctx.log.LogEnd(u"False"_s);
    } else {
        ctx.log.LogEnd(u"True"_s);
        play(FirstStartScript());
        auto* form6 = new FirstStartWindow(ctx, &character_, play);
        form6->dismissed = [this] {
            parts_.engine->Player().Stop();
            parts_.mainBalloon.hide();
        };
        firstStart_ = form6;
        parts_.Present(*form6);
        form6->Field(0)->setFocus();
        ctx.flags.balloonHold = true;
    }
    if (ctx.settings.Switch(SettingKey::UpDate)) {
        play(UpdateTalkScript(VersionInfo::AppVersion(), version.PhaseText(),
                              version.UpdateNotes()));
        // Left in place, the update talk comes again at every start.
        if (!ctx.settings.WriteSetting(SettingKey::UpDate, std::nullopt))
            ctx.log.LogLine(u"Write failed: "_s + SettingName(SettingKey::UpDate));
    }
}

Outcome ShellLifecycle::OpenPort() {
    if (parts_.receiver.Open(port_)) return Outcome::Go;
    parts_.boxes.ShowMessage(DatagramReceiver::PortInUseText(port_));
    return Outcome::EndProgram;
}

void ShellLifecycle::Finish() {
    AppContext& ctx = parts_.ctx;
    TraceLog& log = ctx.log;
    parts_.UpdateProbes();
    if (ctx.settings.Switch(SettingKey::Bold)) {
        parts_.mainBalloon.SetBold(true);
        parts_.fellowBalloon.SetBold(true);
    }
    log.LogBegin(u"Debug Mode = "_s);
    const bool debug = ctx.settings.Switch(SettingKey::Debug);
    log.LogEnd(BoolText(debug));
    if (debug && openDebugWindow) openDebugWindow();
    log.LogLine(u"Boot Complete"_s);
    parts_.character.ShowWithoutActivation();
    parts_.SetTopmost(parts_.engine->Play().OnTop());
    // Her face marks the program's windows in the taskbar.
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(parts_.surfaces.OpenEyes())));
    ctx.flags.timerInterval = ctx.settings.Number(SettingKey::TimerInterval);
    parts_.loop.Start();
    started_ = true;
    WatchSystem();
}

// The machine's events count from the end of the start on.
void ShellLifecycle::WatchSystem() {
    TraceLog& log = parts_.ctx.log;
    parts_.system =
        std::make_unique<SystemSources>([&log](const QString& line) { log.LogLine(line); });
    WireSystemEvents(*parts_.system, *parts_.engine->Events(), parts_.ctx, [this] {
        parts_.loop.Wake();
        parts_.ticks.Reschedule();
    });
    parts_.system->Start();
}

// ---------------------------------------------------------------------------------------------
// The windows of the skin

Outcome ShellLifecycle::LoadMainBalloon() {
    AppContext& ctx = parts_.ctx;
    ctx.log.LogBegin(u"Load MainBaloon..."_s);
    if (parts_.surfaces.Shaper().ShapeWindowFromPicture(
            parts_.mainBalloon, FullPicturePath(ctx, ctx.skin.balloons[0].picture)) ==
        Outcome::EndProgram)
        return Outcome::EndProgram;
    parts_.engine->Play().ForeMenu(BalloonPanel::None);
    parts_.mainBalloon.PlaceMainMessageArea();
    parts_.mainBalloon.PlaceAgainst(parts_.character);
    if (!parts_.character.isVisible()) parts_.mainBalloon.hide();
    parts_.mainBalloonLoaded = true;
    ctx.log.LogEnd(u" Complete"_s);
    return Outcome::Go;
}

Outcome ShellLifecycle::LoadFellowBalloon() {
    AppContext& ctx = parts_.ctx;
    const QString path = FullPicturePath(ctx, ctx.skin.balloons[1].picture);
    if (!IsExistingFile(path)) {
        parts_.boxes.ShowMessage(path + u"が見つかりません。"_s);
        return Outcome::EndProgram;
    }
    ctx.log.LogBegin(u"Load FellowBaloon..."_s);
    if (parts_.surfaces.Shaper().ShapeWindowFromPicture(parts_.fellowBalloon, path) ==
        Outcome::EndProgram)
        return Outcome::EndProgram;
    parts_.fellowBalloon.PlaceFellowMessageArea();
    parts_.fellowBalloon.PlaceAgainst(parts_.fellow);
    if (!parts_.fellow.isVisible()) parts_.fellowBalloon.hide();
    parts_.fellowBalloonLoaded = true;
    ctx.log.LogEnd(u" Complete"_s);
    return Outcome::Go;
}

Outcome ShellLifecycle::LoadFellow() {
    AppContext& ctx = parts_.ctx;
    CheckFellowPresent(ctx);
    const SkinState& skin = ctx.skin;
    if (!skin.fellowPresent || skin.fellowPicture.size() <= SkinFolderPrefix(ctx).size()) {
        UnloadFellow();
        return Outcome::Go;
    }
    const QString path = FullPicturePath(ctx, skin.fellowPicture);
    if (!IsExistingFile(path)) {
        parts_.boxes.ShowMessage(path + u"が見つかりません。"_s);
        return Outcome::EndProgram;
    }
    if (!parts_.fellowLoaded) {
        ctx.log.LogLine(u"Load FellowForm"_s);
        parts_.fellowLoaded = true;
    }
    FellowWindow& fellow = parts_.fellow;
    if (parts_.surfaces.Shaper().ShapeWindowFromPicture(fellow, path) == Outcome::EndProgram)
        return Outcome::EndProgram;
    UnloadFellowBalloon();
    if (LoadFellowBalloon() == Outcome::EndProgram) return Outcome::EndProgram;
    const QRect screen = parts_.ScreenGeometry();
    fellow.move(screen.topLeft());
    ShellParts::StandOnBottom(fellow, screen.x() + qRound(0.57 * screen.width()));
    fellow.ShowWithoutActivation();
    fellow.SetStaysOnTop(parts_.engine->Play().OnTop());
    return Outcome::Go;
}

void ShellLifecycle::UnloadFellow() {
    if (parts_.fellowLoaded) {
        parts_.fellow.hide();
        parts_.fellowLoaded = false;
        parts_.ctx.log.LogLine(u"Unload FellowForm"_s);
    }
    UnloadFellowBalloon();
}

void ShellLifecycle::UnloadFellowBalloon() {
    if (!parts_.fellowBalloonLoaded) return;
    parts_.fellowBalloon.hide();
    parts_.fellowBalloonLoaded = false;
    parts_.ctx.log.LogLine(u"Unload FellowBaloon"_s);
}

// ---------------------------------------------------------------------------------------------
// Ending

bool ShellLifecycle::Survive(Outcome outcome) {
    if (outcome == Outcome::Go) return true;
    Close(1);
    return false;
}

void ShellLifecycle::Close(int exitCode) {
    if (parts_.closed) return;
    AppContext& ctx = parts_.ctx;
    parts_.closed = true;
    parts_.exitCode = exitCode;
    parts_.receiver.Close();
    parts_.system.reset(); // no more events; logind need not wait for a sleep any more
    // Only a start that got through has switches of the user's to keep; a failed one would
    // write its defaults over them.
    const Settings& settings = ctx.settings;
    for (const auto& [key, on] : {std::pair{SettingKey::OnTop, parts_.engine->Play().OnTop()},
                                  std::pair{SettingKey::Hide, ctx.flags.hide},
                                  std::pair{SettingKey::Silent, ctx.flags.silent}})
        if (started_ && !settings.WriteSwitch(key, on))
            ctx.log.LogLine(u"Write failed: "_s + SettingName(key));
    if (started_ && !parts_.RememberPlace())
        ctx.log.LogLine(u"Write failed: "_s + SettingName(SettingKey::PositionX));
    if (parts_.mainBalloonLoaded) {
        parts_.mainBalloon.hide();
        ctx.log.LogLine(u"Unload MainBaloon"_s);
    }
    parts_.character.clearMask();
    if (parts_.tray) parts_.tray->hide();
    // Nothing runs any more: the timers stop, and a wait in progress ends at once.
    parts_.ticks.Stop();
    parts_.loop.Stop();
    parts_.engine->Player().Stop();
    ctx.flags.click = true;
    ctx.flags.waitCancel = true;
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(exitCode);
}

} // namespace orvanel
