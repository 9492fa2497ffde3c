#pragma once

#include "../fakes/fake_views.h"
#include "app/app_context.h"
#include "net/main_frame.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/system_actions.h"
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

// Everything the player needs, with a virtual clock, a temporary program folder and recording
// windows. Play() drives the player the way the main loop does: one step per TimerInterval.
struct ScriptRig {
    ScriptRig()
        : log(clock), actions([this](const QString& line) { actionLog.append(line); }),
          ctx(clock, random, ini, dir.path(), log, actions), scenario(ctx.settings, log, random),
          mainBalloon(QStringLiteral("main"), journal),
          fellowBalloon(QStringLiteral("fellow"), journal), character(journal),
          player(ctx, frame, words, scenario, probes) {
        mainBalloon.clock = &clock;
        frame.SetViews(&mainBalloon, &character);
        player.SetViews(&mainBalloon, &fellowBalloon, &character);
    }

    // Plays `script` from PlayScript to the step that ends it; returns the virtual ms taken.
    qint64 Play(const QString& script, int maxSteps = 100000) {
        player.PlayScript(script);
        return RunToEnd(maxSteps);
    }
    qint64 RunToEnd(int maxSteps = 100000) {
        const qint64 start = clock.ElapsedMs();
        qint64 end = start;
        for (int i = 0; i < maxSteps && player.IsRunning(); ++i) {
            clock.Advance(quint32(ctx.flags.timerInterval));
            player.StepScript();
            end = clock.ElapsedMs();
        }
        return end - start;
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
    TOMU_MainFrame frame;
    FakeWords words;
    FakeProbes probes;
    ScenarioFiles scenario;
    QStringList journal;
    FakeBalloon mainBalloon;
    FakeBalloon fellowBalloon;
    FakeCharacter character;
    ScriptPlayer player;
};

} // namespace orvanel::fakes
