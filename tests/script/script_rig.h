#pragma once

#include "../fakes/fake_views.h"
#include "core/app_context.h"
#include "engine/engine.h"
#include "platform/clock.h"
#include "platform/desktop_windows.h"
#include "platform/ini_file.h"
#include "platform/machine_probes.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "script/play_state.h"
#include "script/scenario_files.h"
#include "script/script_player.h"
#include "script/script_probes.h"
#include "script/word_source.h"
#include "tools/trace_log.h"

#include <QHash>
#include <QTemporaryDir>

namespace orvanel::fakes {

// Words that say where they came from: "人物#1", "人物#2", ... for GetWord, "R:人物#3" for a plain
// random word, "D:人物#4" for a compound phrase; or values queued per category.
class FakeWords : public WordSource {
public:
    QString GetWord(const QString& category) override {
        return Next(QStringLiteral("G:"), category);
    }
    // GetWord's words carry no mark; the others do.
    QString GetRandomWord(const QString& category) override {
        return Next(QStringLiteral("R:"), category);
    }
    QString DecorateWord(const QString& category) override {
        return Next(QStringLiteral("D:"), category);
    }
    // The next words GetWord gives for `category`, before the numbered ones.
    void Queue(const QString& category, QStringList words) { queued[category] += words; }

    QStringList calls;
    QHash<QString, QStringList> queued;

private:
    QString Next(const QString& kind, const QString& category) {
        calls.append(kind + category);
        if (!queued.value(category).isEmpty()) return queued[category].takeFirst();
        const QString mark = kind == u"G:" ? QString() : kind;
        return mark + category + u'#' + QString::number(++counts[category]);
    }
    QHash<QString, int> counts;
};

class FakeProbes : public ScriptProbes {
public:
    QString SelfCall() const override { return selfCall; }
    QString SelfName() const override { return selfName; }
    QString FellowName() const override { return fellowName; }
    qint64 ScreenWidthTwips() const override { return width; }
    qint64 ScreenHeightTwips() const override { return height; }
    quint64 FreeMemoryBytes() const override { return freeBytes; }
    quint64 SystemUptimeMs() const override { return uptimeMs; }

    QString selfCall = QStringLiteral("わたし");
    QString selfName = QStringLiteral("かなみ");
    QString fellowName = QStringLiteral("けろ");
    qint64 width = 1024 * 15;
    qint64 height = 768 * 15;
    quint64 freeBytes = 1024ull * 1024 * 1024;
    quint64 uptimeMs = 0;
};

// A machine whose every fact is a field.
class FakeMachine : public MachineProbes {
public:
    MemoryStatus Memory() override { return memory; }
    quint64 UptimeMs() override { return uptimeMs; }
    PowerStatus Power() override { return power; }
    QList<DriveInfo> Drives() override { return drives; }
    quint64 FreeBytes(const QString& root) override { return free.value(root); }
    QString ScreenSaverSeconds() override { return screenSaver; }
    QString SystemVersion() override { return version; }
    QString ProductKey() override { return productKey; }
    QString Manufacturer() override { return manufacturer; }
    QString Model() override { return model; }
    QString RegisteredOwner() override { return owner; }
    QString BrowserVersion() override { return browser; }

    MemoryStatus memory{42, 512ull * 1024 * 1024};
    quint64 uptimeMs = 0;
    PowerStatus power{1, 128, 255};
    QList<DriveInfo> drives;
    QHash<QString, quint64> free;
    QString screenSaver, version, productKey, manufacturer, model, owner, browser;
};

// Other programs' windows as fields.
class FakeWindows : public DesktopWindows {
public:
    QStringList Titles() override { return titles; }
    quint64 ActiveWindow() override { return active; }
    QString Title(quint64 id) override { return titleOf.value(id); }
    QStringList titles;
    quint64 active = 0;
    QHash<quint64, QString> titleOf;
};

// Everything the player needs, with a virtual clock, a temporary program folder and recording
// windows. Play() drives the player the way the main loop does: one step per TimerInterval.
struct ScriptRig {
    // `withTalk`: the talk engine keeps the player's "$learn" and trash hooks.
    explicit ScriptRig(bool withTalk = false)
        : log(clock), actions([this](const QString& line) { actionLog.append(line); }),
          ctx(clock, random, ini, dir.path(), log, actions),
          engine(ctx, Engine::Parts{&words, &probes, &machine, &windows}),
          mainBalloon(QStringLiteral("main"), journal),
          fellowBalloon(QStringLiteral("fellow"), journal), character(journal) {
        mainBalloon.clock = &clock;
        engine.SetViews(&mainBalloon, &fellowBalloon, &character);
        // Without the talk the player shows its own behaviour.
        if (!withTalk) player.hooks = {};
    }

    // Plays `script` from PlayScript to the step that ends it; returns the virtual ms taken.
    qint64 Play(const QString& script, int maxSteps = 100000) {
        player.PlayScript(script);
        return RunToEnd(maxSteps);
    }
    qint64 RunToEnd(int maxSteps = 100000) {
        const qint64 start = clock.ElapsedMs();
        orvanel::RunToEnd(player, clock, ctx, maxSteps);
        return clock.ElapsedMs() - start;
    }
    // One main-loop pass: the interval, then one step.
    void Tick() {
        clock.Advance(quint32(ctx.flags.timerInterval));
        player.StepScript();
    }
    // Click the balloon `ms` from now, as the user would.
    void ClickIn(quint32 ms) {
        clock.ScheduleIn(ms, [this] { player.Click(); });
    }

    QTemporaryDir dir;
    VirtualClock clock;
    ScriptedRandom random{{}, 7};
    IniStore ini;
    TraceLog log;
    QStringList actionLog;
    LoggingSystemActions actions;
    AppContext ctx;
    FakeWords words;
    FakeProbes probes;
    FakeMachine machine;
    FakeWindows windows;
    Engine engine;
    PlayState& play = engine.Play();
    ScenarioFiles& scenario = engine.Scenario();
    ScriptPlayer& player = engine.Player();
    QStringList journal;
    FakeBalloon mainBalloon;
    FakeBalloon fellowBalloon;
    FakeCharacter character;
};

} // namespace orvanel::fakes
