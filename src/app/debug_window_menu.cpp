// The debug window's menu bar: every talk topic on demand, the tool windows, the surfaces.
#include "app/debug_window.h"
#include "app/shell_scripts.h"
#include "app/shell_talk.h"
#include "core/app_context.h"
#include "core/version_info.h"
#include "core/views.h"
#include "engine/engine.h"
#include "script/scenario_files.h"
#include "talk/dictionary.h"
#include "talk/talk_engine.h"
#include "watch/window_watch.h"

#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// An item that runs `action`; greyed out without one.
template <typename Menu>
QAction* Add(Menu* menu, const QString& name, const QString& caption,
             std::function<void()> action) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    if (action)
        QObject::connect(item, &QAction::triggered, menu, std::move(action));
    else
        item->setEnabled(false);
    return item;
}

QMenu* Group(QMenu* parent, const QString& name, const QString& caption) {
    QMenu* group = parent->addMenu(caption);
    group->setObjectName(name);
    group->menuAction()->setObjectName(name);
    return group;
}

} // namespace

void DebugWindow::BuildMenu() {
    AppContext& ctx = engine_.Context();
    MachineTalk& machine = engine_.Talk().Machine();
    const auto say = [this](std::function<QString()> make) {
        return [this, make = std::move(make)] { hooks_.play(make()); };
    };

    QMenu* script = menuBar()->addMenu(u"スクリプト(&S)"_s);
    script->setObjectName(u"mnScript"_s);
    QMenu* support = Group(script, u"mnSupport"_s, u"サポート機能"_s);
    Add(support, u"mnMemory"_s, u"メモリ使用量"_s,
        say([&machine] { return machine.MemoryTalk(); }));
    Add(support, u"mnBattery"_s, u"バッテリー状態"_s, say([this, &machine] {
            if (engine_.Machine().Power().acLine != 0)
                return u"\\hバッテリー情報が見つかりません。\\w8\\n%username､\\w5バッテリー使ってる？"_s;
            return machine.BatteryTalk();
        }));
    Add(support, u"mnWinRun"_s, u"Windows稼働時間"_s,
        say([&machine] { return machine.MachineUptimeTalk(); }));
    Add(support, u"mnDiskFreeSpace"_s, u"ドライブ空き容量"_s,
        say([&machine] { return machine.DiskSpaceTalk(); }));
    Add(support, u"mnDriveMouted"_s, u"ドライブ構成"_s,
        say([&machine] { return machine.DriveTalk(); }));
    Add(support, u"mnIEver"_s, u"IEバージョン判定"_s, say([&machine] { return machine.Topic(7); }));
    Add(support, u"mnProductKey"_s, u"プロダクトキー表示"_s,
        say([&machine] { return machine.Topic(3); }));
    Add(support, u"mnKnownSoft"_s, u"使用中のソフト"_s,
        machine.knownSoftwareTalk ? say([&machine] { return machine.knownSoftwareTalk(); })
                                  : std::function<void()>());

    QMenu* info = Group(script, u"mnTOMUInfo"_s, u"TOMU情報"_s);
    Add(info, u"mnTOMURun"_s, u"TOMU稼働時間"_s, say([&ctx] {
            return u"\\h今回%selfcallが起動してから、\\w5"_s +
                   UptimeText(ctx.flags.startTick, ctx.clock.TickCount()) + u"経過しました。\\w8"_s;
        }));
    Add(info, u"mnWordCount"_s, u"現在の単語数"_s, say([this] {
            const QString n = QString::number(engine_.Words().TotalWordCount());
            return u"\\h現在の単語数は･･･\\w8\\n"_s + n + u"語です。\\w8\\w8\\u"_s + n +
                   u"語か･･･\\w8\\cまだまだやね。"_s;
        }));
    Add(info, u"mnTalkCount"_s, u"会話回数"_s, say([&machine] { return machine.Topic(10); }));

    QMenu* other = Group(script, u"mnScriptOther"_s, u"その他"_s);
    Add(other, u"mnHoliday"_s, u"記念日"_s, say([this, &ctx] {
            return StartupTalkScript(6, ctx.clock.Now(), talk_, engine_.Source());
        }));
    Add(other, u"mnFlower"_s, u"花言葉"_s, say([this] {
            const ShellTalk::Flower f = talk_.FlowerOfDay();
            return u"\\h今日の誕生花は「"_s + f.name + u"」で、\\w5\\n花言葉は「"_s + f.meaning +
                   u"」です。\\w8\\w8\\u"_s + f.name + u"で「"_s + f.meaning +
                   u"」？\\w8\\w8\\h\\c\\s5･･･ホントだってば。"_s;
        }));
    QAction* external = Add(other, u"mnExtScript"_s, u"外部スクリプト"_s,
                            say([this] { return engine_.Scenario().PickExternalScript(); }));
    connect(script, &QMenu::aboutToShow, this,
            [external, &ctx] { external->setEnabled(ctx.skin.fellowPresent); });

    QMenu* view = menuBar()->addMenu(u"表示(&V)"_s);
    view->setObjectName(u"mnView"_s);
    Add(view, u"mnLog"_s, u"動作ログ(&L)"_s, hooks_.showLog);
    Add(view, u"mnRegWord"_s, u"単語登録ツール"_s, hooks_.openRegistration);
    QMenu* surfaces = Group(view, u"mnChgSurface"_s, u"サーフィス任意切り替え"_s);
    for (int n = 1; n <= 7; ++n)
        Add(surfaces, u"mnSurface%1"_s.arg(n), u"サーフィス%1"_s.arg(n),
            [this, n] { character_.ShowSurface(n, true); });
    WindowWatch& windows = engine_.Windows();
    Add(view, u"mnMyComputer"_s, u"マイコンピュータ"_s,
        [&windows] { windows.OpenComputerFolder(); });
    Add(view, u"mnWinFind"_s, u"検索"_s, [this, &windows] {
        // Said only when no search tool could be started.
        const QString talk = windows.OpenFileSearch();
        if (!talk.isEmpty()) hooks_.play(talk);
    });

    QMenu* extended = menuBar()->addMenu(u"拡張(&E)"_s);
    extended->setObjectName(u"mnExtended"_s);
    Add(extended, u"mnExport"_s, u"辞書ファイル書き出し(&E)"_s, hooks_.exportDictionary);
    const VersionInfo version(ctx.settings.AppFolder());
    Add(menuBar(), u"mnTOMU"_s,
        u"TOMU v"_s + VersionInfo::AppVersion() + u" Phase"_s + version.PhaseText(),
        hooks_.showAbout);
}

} // namespace orvanel
