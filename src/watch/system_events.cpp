#include "watch/system_events.h"

#include "core/app_context.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "script/script_player.h"
#include "watch/timer_host.h"

using namespace Qt::StringLiterals;

namespace orvanel {

SystemEvents::SystemEvents(AppContext& ctx, ScriptPlayer& player, TimerHost& host)
    : ctx_(ctx), player_(player), host_(host) {}

void SystemEvents::Say(const QString& script) {
    ctx_.flags.balloonHold = false;
    player_.PlayScript(script, ScriptOrigin::System);
}

void SystemEvents::StandOnWorkArea() {
    const QRect work = host_.WorkArea();
    const QRect self = host_.CharacterGeometry();
    host_.MoveCharacter(QPoint(self.x(), work.y() + work.height() - self.height()));
}

void SystemEvents::DeviceArrival() {
    Say(u"\\hあ、%username。何かデバイスを取り付けた？\\w8\\n\\n認識、\\w5認識。"_s);
}

void SystemEvents::DeviceQueryRemove() {
    Say(u"\\h何かデバイスを削除しようとしたな？"_s);
}

void SystemEvents::DeviceRemoveComplete() {
    Say(u"\\hデバイス削除完了～。\\w8\\n\\nきちんと取り外す順番は守ってね。\\w8%username。"_s);
}

void SystemEvents::DisplayChanged() {
    Say(u"\\h？\\n\\nディスプレイの解像度が変わったぞ？\\w8\\n\\n移動しなきゃ。"_s);
    const QRect screen = host_.ScreenGeometry();
    const QRect self = host_.CharacterGeometry();
    host_.MoveCharacter(QPoint(screen.x() + RoundHalfEven(0.75 * screen.width()), self.y()));
}

void SystemEvents::WorkAreaFollowedDisplay() {
    StandOnWorkArea();
}

void SystemEvents::PowerResume() {
    resumedAt_ = ctx_.clock.TickCount();
    Say(u"\\h%username、\\w5おかえりなさい。"_s);
}

void SystemEvents::PowerStatusChanged() {
    if (ctx_.random.Next() > 0.9) Say(u"\\hむ？\\w8\\n\\nバッテリーに異変が？"_s);
}

void SystemEvents::PowerSuspend() {
    Say(u"\\hサスペンドしますぅ。"_s);
}

void SystemEvents::SettingChanged() {
    StandOnWorkArea();
    Say(ctx_.random.Pick(2) == 1 ? u"\\h？\\w8\\n\\n？\\w8\\n\\n地震？"_s : u"\\hおろ？"_s);
}

void SystemEvents::SysColorsChanged() {
    Say(u"\\h？\\n\\nディスプレイの色数が変わったぞ？\\n\\nちなみに%selfcallは16Bitカラーだよ。(一応、ね。)"_s);
}

void SystemEvents::TimeChanged() {
    if (resumedAt_ && ctx_.clock.TickCount() - *resumedAt_ < kResumeClockGraceMs) return;
    Say(u"\\hシステムの時刻なんて変更して何するの？\\w8\\n\\n時計がずれたか、\\w5もしや！\\w5まさか%username･･･"_s);
}

} // namespace orvanel
