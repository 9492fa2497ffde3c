#include "app/shell.h"

#include "app/character_drag.h"
#include "app/character_menu.h"
#include "app/fellow_window.h"
#include "app/first_start_window.h"
#include "app/main_loop.h"
#include "app/message_boxes.h"
#include "app/option_window.h"
#include "app/progress_windows.h"
#include "app/shell_scripts.h"
#include "app/shell_talk.h"
#include "app/skin_select_window.h"
#include "app/system_watch.h"
#include "app/tick_driver.h"
#include "balloon/fellow_balloon.h"
#include "balloon/main_balloon.h"
#include "character/skin.h"
#include "core/app_context.h"
#include "core/headlines.h"
#include "core/version_info.h"
#include "engine/engine.h"
#include "net/datagram_receiver.h"
#include "platform/linux/system_sources.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "script/play_state.h"
#include "script/script_player.h"
#include "script/word_source.h"
#include "talk/talk_engine.h"
#include "tools/trace_log.h"
#include "watch/main_timer.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSystemTrayIcon>

using namespace Qt::StringLiterals;

namespace orvanel {
Shell::Shell(AppContext& ctx, MessageBoxes& boxes, Options options)
    : ctx_(ctx), boxes_(boxes), config_(options), headlines_(std::make_unique<QList<Headline>>()),
      engine_(std::make_unique<Engine>(ctx)), playState_(&engine_->Play()),
      player_(&engine_->Player()), words_(&engine_->Source()),
      talk_(std::make_unique<EngineTalk>(engine_->Talk())),
      character_(std::make_unique<CharacterWindow>()), fellow_(std::make_unique<FellowWindow>()),
      mainBalloon_(std::make_unique<orvanel::MainBalloon>(ctx)),
      fellowBalloon_(std::make_unique<FellowBalloon>(ctx)),
      progress_(std::make_unique<RegionProgressWindow>(ctx, [this] { UnloadSplash(); })),
      surfaces_(std::make_unique<CharacterSurfaces>(ctx, *character_, *progress_, boxes)),
      tickDriver_(new TickDriver([this] { Tick(); }, [this] { return QuietTicks(); }, this)),
      mainLoop_(new MainLoop(
          ctx, [this] { Step(); }, [this] { return player_->IsRunning(); }, this)),
      receiver_(new DatagramReceiver(ctx.log, this)), menu_(new CharacterMenu(this)) {
    engine_->SetViews(mainBalloon_.get(), fellowBalloon_.get(), this);
    mainTimer_ = &engine_->AttachTimer(*this);
    mainBalloon_->onClick = [this] { player_->Click(); };
    fellowBalloon_->onClick = [this] { player_->Click(); };
    mainBalloon_->hooks.answerChosen = [this](int choice) { talk_->AnswerChosen(choice); };
    mainBalloon_->hooks.learnWord = [this](const QString& word) { talk_->LearnWord(word); };
    mainBalloon_->hooks.nagTalk = [this] { talk_->NagTalk(); };

    connect(receiver_, &DatagramReceiver::ScriptReceived, this, &Shell::ScriptArrived);
    connect(character_.get(), &CharacterWindow::Pressed, this,
            [this](CharacterWindow::Area area, Qt::MouseButton button) {
                CharacterPressed(area, button);
            });
    connect(character_.get(), &CharacterWindow::Released, this,
            [this](CharacterWindow::Area area, Qt::MouseButton button, Qt::KeyboardModifiers,
                   QPoint global) { CharacterReleased(area, button, global); });
    connect(character_.get(), &CharacterWindow::DragFinished, this, &Shell::StandOnBottom);
    connect(character_.get(), &CharacterWindow::CloseRequested, this, [this] { Close(); });
    connect(fellow_.get(), &FellowWindow::Poked, this, &Shell::FellowPoked);
    connect(fellow_.get(), &FellowWindow::DragFinished, this, &Shell::StandOnBottom);

    menu_->SetHandler(MenuItem::Config, [this] { OpenOptions(); });
    menu_->SetHandler(MenuItem::Skin, [this] { OpenSkinSelection(); });
    menu_->SetHandler(MenuItem::OnTop, [this] { ToggleOnTop(); });
    menu_->SetHandler(MenuItem::Hide, [this] { ToggleHide(); });
    menu_->SetHandler(MenuItem::Silent, [this] { ToggleSilent(); });
    for (MenuItem item : {MenuItem::ScenarioEdit, MenuItem::ScriptEdit, MenuItem::ScriptSend})
        menu_->SetHandler(item, [this, item] { StartPlugIn(item); });
    menu_->SetHandler(MenuItem::Mini, [this] {
        if (ctx_.flags.minimized)
            Restore(false);
        else
            Minimize();
    });
    menu_->SetHandler(MenuItem::About, [this] { ShowAbout(); });
    menu_->SetHandler(MenuItem::End, [this] { EndCommand(); });
    // The icon's menu is the character's, prepared for the icon.
    connect(menu_->Menu(), &QMenu::aboutToShow, this, [this] {
        if (ctx_.flags.minimized) PrepareMenu(false);
    });
}

Shell::~Shell() = default;

TalkEngine& Shell::Talk() const {
    return engine_->Talk();
}

void Shell::UseTalk(std::unique_ptr<ShellTalk> talk) {
    if (talk) talk_ = std::move(talk);
}

void Shell::Play(const QString& script) {
    player_->PlayScript(script);
    mainLoop_->Wake();
    tickDriver_->Reschedule();
}

OptionWindow* Shell::OptionsWindow() const {
    return optionWindow_;
}
SkinSelectWindow* Shell::SkinSelection() const {
    return skinSelect_;
}

// ---------------------------------------------------------------------------------------------
// Start-up

bool Shell::Start() {
    TraceLog& log = ctx_.log;
    const Settings& settings = ctx_.settings;
    log.LogLine(u"Boot"_s);
    log.LogBegin(u"UserInfoLoad... "_s);
    *headlines_ = LoadHeadlines(settings.FilePath(u"HeadLine.dat"_s));
    LoadUserInfo(settings, ctx_.profile, log);
    if (LoadSurfaceList(ctx_, boxes_) == Outcome::EndProgram) {
        EndProgram();
        return false;
    }
    LoadSkinInfo(ctx_);
    log.LogEnd(u"Done"_s);

    const VersionInfo version(settings.AppFolder());
    splash_ = new SplashWindow(ctx_, u"Version "_s + VersionInfo::AppVersion() + u" Phase"_s +
                                         version.PhaseText());
    splash_->show();
    splash_->raise();
    QCoreApplication::processEvents();

    log.LogLine(u"Load MainForm"_s);
    playState_->SetOnTop(settings.Switch(SettingKey::OnTop));
    ctx_.flags.hide = settings.Switch(SettingKey::Hide);
    ctx_.flags.silent = settings.Switch(SettingKey::Silent);
    ctx_.random.Seed(quint32(QDateTime::currentMSecsSinceEpoch()));
    ReloadScriptFiles();
    ctx_.flags.startTick = ctx_.clock.TickCount();
    surfaces_->LoadBlinkPictures();
    tickDriver_->Start();
    log.LogBegin(u"RegionFileCheck..."_s);
    if (surfaces_->PrepareSurfaceShapes() == Outcome::EndProgram ||
        surfaces_->ShowSurface(1, false) == Outcome::EndProgram) {
        EndProgram();
        return false;
    }
    log.LogEnd(u" Complete"_s);
    if (LoadFellow() == Outcome::EndProgram) {
        EndProgram();
        return false;
    }
    character_->PlaceHitAreas(orvanel::PlaceHitAreas(ctx_));
    if (splash_) splash_->hide();
    PlaceCharacter(0.73);
    mainTimer_->DrawFirstBlinkInterval();

    log.LogBegin(u"SSTP Host = "_s);
    if (LoadMainBalloon() == Outcome::EndProgram) {
        EndProgram();
        return false;
    }
    Play(StartupTalkScript(ctx_.random.Pick(8), ctx_.clock.Now(), *talk_, *words_));
    log.LogBegin(u"FirstBoot = "_s);
    if (!ctx_.profile.callName.isEmpty()) {
        log.LogEnd(u"False"_s);
    } else {
        log.LogEnd(u"True"_s);
        Play(FirstStartScript());
        auto* form6 = new FirstStartWindow(ctx_, this, [this](const QString& s) { Play(s); });
        firstStart_ = form6;
        form6->show();
        form6->activateWindow();
        form6->Field(0)->setFocus();
        ctx_.flags.balloonHold = true;
    }
    if (settings.Switch(SettingKey::UpDate)) {
        Play(UpdateTalkScript(VersionInfo::AppVersion(), version.PhaseText(),
                              version.UpdateNotes()));
        // Left in place, the update talk comes again at every start.
        if (!settings.WriteSetting(SettingKey::UpDate, std::nullopt))
            log.LogLine(u"Write failed: "_s + SettingName(SettingKey::UpDate));
    }
    if (!receiver_->Open(config_.port)) {
        boxes_.ShowMessage(DatagramReceiver::PortInUseText(config_.port));
        Close(1);
        return false;
    }
    UpdateProbes();
    if (settings.Switch(SettingKey::Bold)) {
        mainBalloon_->SetBold(true);
        fellowBalloon_->SetBold(true);
    }
    // The debug window comes with the tools; until then the switch is only reported.
    log.LogBegin(u"Debug Mode = "_s);
    log.LogEnd(settings.Text(SettingKey::Debug));
    log.LogLine(u"Boot Complete"_s);
    character_->ShowWithoutActivation();
    ApplyOnTop(this, playState_->OnTop());

    ctx_.flags.timerInterval = settings.Number(SettingKey::TimerInterval);
    mainLoop_->Start();
    WatchSystem();
    return true;
}

Outcome Shell::LoadMainBalloon() {
    ctx_.log.LogBegin(u"Load MainBaloon..."_s);
    if (surfaces_->Shaper().ShapeWindowFromPicture(
            *mainBalloon_, FullPicturePath(ctx_, ctx_.skin.balloons[0].picture)) ==
        Outcome::EndProgram)
        return Outcome::EndProgram;
    playState_->ForeMenu(BalloonPanel::None);
    mainBalloon_->PlaceMainMessageArea();
    mainBalloon_->PlaceAgainst(*character_);
    if (!character_->isVisible()) mainBalloon_->hide();
    mainBalloonLoaded_ = true;
    ctx_.log.LogEnd(u" Complete"_s);
    return Outcome::Go;
}

Outcome Shell::LoadFellowBalloon() {
    const QString path = FullPicturePath(ctx_, ctx_.skin.balloons[1].picture);
    if (!IsExistingFile(path)) {
        boxes_.ShowMessage(path + u"が見つかりません。"_s);
        return Outcome::EndProgram;
    }
    ctx_.log.LogBegin(u"Load FellowBaloon..."_s);
    if (surfaces_->Shaper().ShapeWindowFromPicture(*fellowBalloon_, path) == Outcome::EndProgram)
        return Outcome::EndProgram;
    fellowBalloon_->PlaceFellowMessageArea();
    fellowBalloon_->PlaceAgainst(*fellow_);
    if (!fellow_->isVisible()) fellowBalloon_->hide();
    fellowBalloonLoaded_ = true;
    ctx_.log.LogEnd(u" Complete"_s);
    return Outcome::Go;
}

Outcome Shell::LoadFellow() {
    CheckFellowPresent(ctx_);
    const SkinState& skin = ctx_.skin;
    if (!skin.fellowPresent || skin.fellowPicture.size() <= SkinFolderPrefix(ctx_).size()) {
        UnloadFellow();
        return Outcome::Go;
    }
    const QString path = FullPicturePath(ctx_, skin.fellowPicture);
    if (!IsExistingFile(path)) {
        boxes_.ShowMessage(path + u"が見つかりません。"_s);
        return Outcome::EndProgram;
    }
    if (!fellowLoaded_) {
        ctx_.log.LogLine(u"Load FellowForm"_s);
        fellowLoaded_ = true;
    }
    if (surfaces_->Shaper().ShapeWindowFromPicture(*fellow_, path) == Outcome::EndProgram)
        return Outcome::EndProgram;
    if (fellowBalloonLoaded_) {
        fellowBalloon_->hide();
        fellowBalloonLoaded_ = false;
        ctx_.log.LogLine(u"Unload FellowBaloon"_s);
    }
    if (LoadFellowBalloon() == Outcome::EndProgram) return Outcome::EndProgram;
    const QRect screen = ScreenGeometry();
    const QRect work = WorkArea();
    fellow_->move(screen.x() + qRound(0.57 * screen.width()),
                  work.y() + work.height() - fellow_->height());
    fellow_->ShowWithoutActivation();
    fellow_->SetStaysOnTop(playState_->OnTop());
    return Outcome::Go;
}

void Shell::UnloadFellow() {
    if (fellowLoaded_) {
        fellow_->hide();
        fellowLoaded_ = false;
        ctx_.log.LogLine(u"Unload FellowForm"_s);
    }
    if (fellowBalloonLoaded_) {
        fellowBalloon_->hide();
        fellowBalloonLoaded_ = false;
        ctx_.log.LogLine(u"Unload FellowBaloon"_s);
    }
}

void Shell::UnloadSplash() {
    if (splash_) delete splash_.data();
}

void Shell::PlaceCharacter(double factor) {
    const QRect screen = ScreenGeometry();
    const QRect work = WorkArea();
    character_->move(screen.x() + qRound(factor * screen.width()),
                     work.y() + work.height() - character_->height());
}

void Shell::StandOnBottom() {
    const QRect work = WorkArea();
    const int bottom = work.y() + work.height();
    character_->move(character_->x(), bottom - character_->height());
    if (fellowLoaded_) fellow_->move(fellow_->x(), bottom - fellow_->height());
}

// The machine's events, from the end of the start on.
void Shell::WatchSystem() {
    systemSources_ =
        new SystemSources([this](const QString& line) { ctx_.log.LogLine(line); }, this);
    WireSystemEvents(*systemSources_, *engine_->Events(), ctx_, [this] {
        mainLoop_->Wake();
        tickDriver_->Reschedule();
    });
    systemSources_->Start();
}

void Shell::UpdateProbes() {
    engine_->UpdateProbes(ScreenGeometry());
}

// ---------------------------------------------------------------------------------------------
// Running

void Shell::Step() {
    if (!closed_) player_->StepScript();
}

void Shell::Tick() {
    if (closed_) return;
    mainTimer_->Tick();
    // Talk started by the timer or by a window of the talk engine.
    if (player_->IsRunning()) mainLoop_->Wake();
}

int Shell::QuietTicks() const {
    const RunFlags& flags = ctx_.flags;
    const TouchState& touch = ctx_.touch;
    const MainTimer::Counters& c = mainTimer_->State();
    QuietFacts f;
    f.busy = player_->IsRunning() || flags.exitRequest || flags.skinChangeRequest ||
             flags.foregroundRequest || flags.hide || touch.eyeTouched || touch.mouthTouched ||
             touch.bodyTouched || touch.stroking || character_->Drag().Dragging() ||
             fellow_->Drag().Dragging();
    if (f.busy) return 0;
    f.blinking = !flags.blinkHold;
    f.blinkCount = c.blinkCount;
    f.blinkInterval = c.blinkInterval;
    f.mainBalloonCounting = mainBalloon_->isVisible() && !flags.balloonHold;
    f.mainBalloonCounter = flags.mainBalloonCounter;
    f.fellowBalloonCounting = fellowBalloon_->isVisible() && !flags.balloonHold;
    f.fellowBalloonCounter = flags.fellowBalloonCounter;
    f.msgDispLimit = ctx_.profile.MsgDispLimit;
    f.murmur = c.murmur;
    f.talkLimit = ctx_.profile.TOMULimitTime;
    f.now = ctx_.clock.Now().time();
    f.timeSignalDone = c.timeSignalDone;
    return orvanel::QuietTicks(f);
}

void Shell::ScriptArrived(const ReceivedScript& received) {
    if (closed_) return;
    ShowSurface(1, false);
    player_->PlayScript(received.script,
                        received.local ? ScriptOrigin::Local : ScriptOrigin::Remote);
    mainLoop_->Wake();
    tickDriver_->Reschedule();
}

void Shell::CharacterPressed(CharacterWindow::Area area, Qt::MouseButton button) {
    if (closed_ || button != Qt::LeftButton) return;
    // A drag may follow: the balloons follow it tick by tick.
    tickDriver_->Reschedule();
    // Until the touch reactions come, a click on the body or the head makes her talk (what
    // every one of the first fourteen pokes does).
    if (area == CharacterWindow::Area::Body || area == CharacterWindow::Area::Head) {
        ShowSurface(1, false);
        talk_->RandomTalk();
        mainLoop_->Wake();
        tickDriver_->Reschedule();
    }
}

void Shell::CharacterReleased(CharacterWindow::Area, Qt::MouseButton button, QPoint global) {
    if (closed_ || button != Qt::RightButton) return;
    OpenCharacterMenu(global);
}

void Shell::FellowPoked() {
    if (!closed_) Play(FellowPokeScript(ctx_.random.Pick(3)));
}

void Shell::PrepareMenu(bool fromCharacter) {
    CharacterMenu::State state;
    state.onTop = playState_->OnTop();
    state.hide = ctx_.flags.hide;
    state.silent = ctx_.flags.silent;
    state.minimized = ctx_.flags.minimized;
    state.trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    state.programFolder = ctx_.settings.AppFolder();
    menu_->Prepare(state, fromCharacter);
}

void Shell::OpenCharacterMenu(QPoint global) {
    PrepareMenu(true);
    menu_->Menu()->popup(global);
}

// ---------------------------------------------------------------------------------------------
// Menu commands

void Shell::OpenOptions() {
    if (!optionWindow_) {
        optionWindow_ = new OptionWindow(ctx_, [this](const QString& s) { Play(s); });
        optionWindow_->show();
    }
    optionWindow_->raise();
    optionWindow_->activateWindow();
}

void Shell::OpenSkinSelection() {
    if (!skinSelect_) {
        skinSelect_ = new SkinSelectWindow(
            ctx_, [this] { return words_->GetWord(u"終了時"_s); },
            [this](const QString& s) { Play(s); });
        skinSelect_->show();
    }
    skinSelect_->raise();
    skinSelect_->activateWindow();
}

void Shell::ToggleOnTop() {
    playState_->SetOnTop(!playState_->OnTop());
    menu_->Item(MenuItem::OnTop)->setChecked(playState_->OnTop());
    ApplyOnTop(this, playState_->OnTop());
}

void Shell::ToggleHide() {
    ctx_.flags.hide = !ctx_.flags.hide;
    tickDriver_->Reschedule();
    menu_->Item(MenuItem::Hide)->setChecked(ctx_.flags.hide);
}

void Shell::ToggleSilent() {
    ctx_.flags.silent = !ctx_.flags.silent;
    menu_->Item(MenuItem::Silent)->setChecked(ctx_.flags.silent);
}

void Shell::StartPlugIn(MenuItem item) {
    const QString line = item == MenuItem::ScenarioEdit ? u"\\hシナリオエディタ実行！"_s
                         : item == MenuItem::ScriptEdit ? u"\\hスクリプトエディタ実行！"_s
                                                        : u"\\hSender実行！"_s;
    ctx_.actions.StartProgram(
        ctx_.settings.AppFolder() + CharacterMenu::PlugInProgram(item).value_or(QString()), {});
    Play(line);
}

void Shell::UpdateTrayTip() {
    if (tray_) tray_->setToolTip((u"TOMU - "_s + ctx_.skin.name).left(63));
}

void Shell::Minimize() {
    if (ctx_.flags.minimized) return;
    ctx_.log.LogBegin(u"Minimize..."_s);
    menu_->Item(MenuItem::Mini)->setChecked(true);
    menu_->Item(MenuItem::Skin)->setVisible(false);
    tickDriver_->Stop();
    character_->hide();
    mainBalloon_->hide();
    fellow_->hide();
    fellowBalloon_->hide();
    if (!tray_) {
        tray_ = new QSystemTrayIcon(this);
        tray_->setContextMenu(menu_->Menu());
        connect(tray_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::DoubleClick && ctx_.flags.minimized)
                        Restore(true);
                });
    }
    QPixmap icon = QPixmap::fromImage(surfaces_->OpenEyes());
    tray_->setIcon(QIcon(
        icon.isNull() ? icon : icon.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    UpdateTrayTip();
    tray_->show();
    ctx_.flags.minimized = true;
    ctx_.log.LogEnd(u" Complete"_s);
}

void Shell::Restore(bool fromIcon) {
    if (!ctx_.flags.minimized) return;
    ctx_.log.LogBegin(u"Normalize..."_s);
    if (tray_) tray_->hide();
    ctx_.flags.minimized = false;
    menu_->Item(MenuItem::Mini)->setChecked(false);
    menu_->Item(MenuItem::Skin)->setVisible(true);
    tickDriver_->Start();
    if (FellowPresent()) fellow_->ShowWithoutActivation();
    character_->ShowWithoutActivation();
    ctx_.log.LogEnd(u" Complete"_s);
    Play(RestoreGreeting(ctx_.random.Pick(3), fromIcon, *words_));
}

void Shell::ShowAbout() {
    if (!about_) {
        const VersionInfo version(ctx_.settings.AppFolder());
        auto* box = new QMessageBox(
            QMessageBox::Information, u"TOMUについて"_s,
            u"Orvanel\nVersion "_s + VersionInfo::AppVersion() + u" Phase"_s + version.PhaseText() +
                u"\n"_s + version.ReleaseDate() + u"\n\n"_s + ctx_.settings.AppFolderNoSlash(),
            QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        about_ = box;
    }
    about_->show();
    about_->raise();
}

void Shell::EndCommand() {
    if (ctx_.flags.minimized) {
        Close();
        return;
    }
    ctx_.flags.exitRequest = true;
    Play(FarewellScript(UptimeText(ctx_.flags.startTick, ctx_.clock.TickCount()),
                        words_->GetWord(u"終了時"_s)));
}

// ---------------------------------------------------------------------------------------------
// Ending

void Shell::EndProgram() {
    Close(1);
}

void Shell::Close(int exitCode) {
    if (closed_) return;
    closed_ = true;
    exitCode_ = exitCode;
    receiver_->Close();
    const Settings& settings = ctx_.settings;
    for (const auto& [key, on] : {std::pair{SettingKey::OnTop, playState_->OnTop()},
                                  std::pair{SettingKey::Hide, ctx_.flags.hide},
                                  std::pair{SettingKey::Silent, ctx_.flags.silent}})
        if (!settings.WriteSwitch(key, on))
            ctx_.log.LogLine(u"Write failed: "_s + SettingName(key));
    if (mainBalloonLoaded_) {
        mainBalloon_->hide();
        ctx_.log.LogLine(u"Unload MainBaloon"_s);
    }
    character_->clearMask();
    if (tray_) tray_->hide();
    // Nothing runs any more: the timers stop, and a wait in progress ends at once.
    tickDriver_->Stop();
    mainLoop_->Stop();
    player_->Stop();
    ctx_.flags.click = true;
    ctx_.flags.waitCancel = true;
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    Q_EMIT Finished(exitCode);
    QCoreApplication::exit(exitCode);
}

} // namespace orvanel
