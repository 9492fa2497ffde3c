#pragma once

// What the fuzz targets share: a Qt application, a scratch program folder seeded from the
// default data, and the engine playing into headless windows on a virtual clock.
#include "core/app_context.h"
#include "engine/engine.h"
#include "engine/headless_views.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "script/script_player.h"
#include "tools/trace_log.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace orvanel::fuzz {

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// A folder of its own for the whole run; `seeded` fills it with the default data once.
inline QString ScratchFolder(bool seeded) {
    static QTemporaryDir dir;
    static const bool filled = [] {
        qputenv("ORVANEL_SYSTEM_ACTIONS", "log");
        return dir.isValid() &&
               SeedProgramFolder(dir.path(), QStringLiteral(ORVANEL_DEFAULT_FOLDER));
    }();
    if (seeded && !filled) std::abort();
    return dir.path() + u'/';
}

inline QString Text(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline bool WriteBytes(const QString& path, const uint8_t* data, size_t size) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

// The player over the default data, as orvanel-script plays: every click wait is clicked as
// its first blink cycle ends. Rebuilt now and then, so the trace log stays small.
class PlayRig {
public:
    PlayRig()
        : random_(7), log_(clock_), actions_(nullptr),
          ctx_(clock_, random_, ini_, ScratchFolder(true), log_, actions_) {
        ctx_.flags.timerInterval = 50;
        engine_ = std::make_unique<Engine>(ctx_);
        engine_->SetViews(&main_, &fellow_, &character_);
        engine_->UpdateProbes(QRect(0, 0, 1024, 768));
        engine_->ReloadScriptFiles();
        ScriptPlayer& player = engine_->Player();
        player.hooks.clickWaitStarted = [this] {
            clock_.ScheduleIn(900, [this] { engine_->Player().Click(); });
        };
        player.hooks.startLearning = [](const QString&) {};
        player.hooks.openSearchPanel = [](SearchEngine) {};
    }

    // Plays to the end. Every step shows a character or ends the script, and expansions add
    // only words, so a script that is still playing after many more steps than it has
    // characters is stuck.
    void Play(const QString& script, ScriptOrigin origin) {
        engine_->Player().PlayScript(script, origin);
        if (!RunToEnd(engine_->Player(), clock_, ctx_, 200'000 + 50 * script.size())) std::abort();
    }

    static PlayRig& Shared() {
        static std::unique_ptr<PlayRig> rig;
        static int plays = 0;
        if (!rig || ++plays % 2000 == 0) rig = std::make_unique<PlayRig>();
        return *rig;
    }

private:
    VirtualClock clock_;
    SystemRandom random_;
    IniStore ini_;
    TraceLog log_;
    LoggingSystemActions actions_;
    AppContext ctx_;
    HeadlessBalloon main_, fellow_;
    HeadlessCharacter character_;
    std::unique_ptr<Engine> engine_;
};

} // namespace orvanel::fuzz
