#include "talk/machine_talk.h"

#include "core/app_context.h"
#include "core/version_info.h"
#include "platform/system_actions.h"
#include "script/script_player.h"
#include "talk/dictionary.h"
#include "talk/menu_talk.h"
#include "talk/questions.h"
#include "talk/talk_context.h"
#include "tools/trace_log.h"

#include <QStringList>

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

const QString kCrLf2 = u"\r\n\r\n"_s;

double RoundTwoDecimals(double v) {
    // nearbyint rounds halves to the even digit in the default rounding mode.
    return std::nearbyint(v * 100.0) / 100.0;
}

QString ShortestDecimal(double v) {
    QString text = QString::number(v, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    return text;
}

} // namespace

QString SizeText(quint64 bytes) {
    if (bytes < 1024) return QString::number(bytes) + u"バイト"_s;
    static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
    double value = double(bytes);
    for (const char* unit : kUnits) {
        value = RoundTwoDecimals(value / 1024.0);
        if (value < 1024.0) return ShortestDecimal(value) + QString::fromLatin1(unit);
    }
    return {};
}

QString DriveTypeName(DriveType type) {
    switch (type) {
    case DriveType::Unknown:
        return u"UNKNOWN"_s;
    case DriveType::NoRoot:
        return u"NOEXIST"_s;
    case DriveType::Removable:
        return u"FDD"_s;
    case DriveType::Fixed:
        return u"HDD"_s;
    case DriveType::Remote:
        return u"NET"_s;
    case DriveType::CdRom:
        return u"CD"_s;
    case DriveType::RamDisk:
        return u"RAM"_s;
    }
    return {};
}

QString MachineUptimeText(quint64 ms) {
    const quint64 total = (ms + 500) / 1000;
    return u"%1時間%2分%3秒"_s.arg(total / 3600).arg(total / 60 % 60).arg(total % 60);
}

QString MemoryRemark(int load) {
    // 80 and 90 fell between the ranges and got no remark; each joins the range above it.
    if (load <= 20) return u"痩せ過ぎると死にますよ。\\w8"_s;
    if (load <= 40) return u"かいてき かいてき スーイスイ。\\w8"_s;
    if (load <= 49) return u"まだまだOKっす。\\w8"_s;
    if (load <= 60) return u"全然余裕～。\\w8"_s;
    if (load <= 79) return u"まあ、\\w5まだまだ大丈夫。\\w8"_s;
    if (load <= 89) return u"そろそろいっぱいいっぱいだ～。\\w8"_s;
    if (load <= 99) return u"このままではシステムが%st状態になります。\\w8"_s;
    return u"やった！100%達成おめでとう！"_s;
}

QString IEVersionName(const QString& version) {
    struct Build {
        const char* version;
        const char16_t* name;
    };
    static constexpr Build kBuilds[] = {
        {"4.71.1712.6", u"Internet Explorer 4.0"},
        {"4.72.2106.9", u"Internet Explorer 4.01"},
        {"4.72.3110.8", u"Internet Explorer 4.01 SP1かSP1a"},
        {"4.72.3110.1", u"Internet Explorer 4.0、\\w5Win98付属のもの"},
        {"4.72.3612.1713", u"Internet Explorer 4.01 SP2"},
        {"5.00.2014.0216", u"Internet Explorer 5.0"},
        {"5.00.2314.1003", u"Internet Explorer 5.0、\\w5Office2000付属のもの"},
        {"5.00.2614.3500", u"Internet Explorer 5.0、\\w5Win98SE付属のもの"},
        {"5.00.2919.6307", u"Internet Explorer 5.01"},
        {"5.00.3105.0106", u"Internet Explorer 5.01 SP1"},
        {"5.50.4134.0600", u"Internet Explorer 5.5"},
        {"5.50.4134.0100", u"Internet Explorer 5.5、\\w5WinMe付属のもの"},
        {"5.50.4522.1800", u"Internet Explorer 5.5 SP1"},
        {"6.0.2600.0000", u"Internet Explorer 6.0"},
    };
    for (const Build& b : kBuilds)
        if (version == QLatin1StringView(b.version)) return QStringView(b.name).toString();
    return {};
}

QString GroupedNumber(quint64 n) {
    if (n == 0) return {};
    QString digits = QString::number(n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return digits;
}

void EmptyRecycleBin(TalkContext& talk) {
    const bool done = talk.app.actions.EmptyTrash();
    talk.player.PlayScript(done ? u"\\h任務完了～。"_s : u"\\h失敗しました～。"_s);
}

MachineTalk::MachineTalk(TalkContext& talk, Questions& questions)
    : talk_(talk), questions_(questions) {}

QString MachineTalk::SystemInfoTalk() {
    return Topic(talk_.Pick(kTopicCount));
}

QString MachineTalk::Topic(int k) {
    MachineProbes& m = talk_.machine;
    AppContext& app = talk_.app;
    switch (k) {
    case 1:
        return u"\\hスクリーンセーバー起動までは"_s + m.ScreenSaverSeconds() +
               u"秒なんだ。\\w8へー。\\w8"_s;
    case 2:
        return u"\\h"_s + m.SystemVersion() + u"をお使いですか。\\w8"_s;
    case 3:
        return u"\\h現在使用しているWindowsのプロダクトキーは\\n「"_s + m.ProductKey() +
               u"」。\\w8\\nこれは他人に教えちゃダメですよ～。\\w8"_s;
    case 4:
        return u"\\h%usernameは"_s + m.Manufacturer() + u'の' + m.Model() +
               u"を使ってるんだ。\\w8使い心地はどう？\\w5"_s;
    case 5:
        return u"\\hこのマシンのユーザー名は「"_s + m.RegisteredOwner() +
               u"」ですけど、\\w5これは%usernameの本名ですか？\\w5"_s;
    case 6:
        return MemoryTalk();
    case 7: {
        const QString v = m.BrowserVersion();
        return u"\\h%usernameのインターネットエクスプローラーはビルド "_s + v +
               u" 、\\w5簡単に言うと「"_s + IEVersionName(v) + u"」ですね。\\w8"_s;
    }
    case 8:
        if (!app.actions.ClearRecentDocuments()) {
            app.log.LogLine(u"ClearRecentDocuments failed"_s);
            return u"\\h「最近使ったﾌｧｲﾙ」のクリアに失敗しました～。"_s;
        }
        return u"\\hスタートメニューの「最近使ったﾌｧｲﾙ」の内容をクリアしたよ～。"
               "\\w8\\nあんまり使わないし、\\w5いいでしょ、\\w5%username？\\w5"_s;
    case 9:
        return u"\\h"_s + (knownSoftwareTalk ? knownSoftwareTalk() : QString());
    case 10:
        return u"\\h今回%selfcallが起動してから"_s + QString::number(app.flags.talkCount) +
               u"回くらいしゃべらされました。\\w8"_s;
    case 11:
        return u"\\h今のところ%selfcallが知ってる言葉は、\\w5おおよそ"_s +
               QString::number(talk_.dictionary.TotalWordCount()) +
               u"語くらいです。\\w8\\nもっと勉強しなきゃ。\\w8"_s;
    case 12:
        return u"\\h今回%selfcallが起動してから、\\w5"_s +
               UptimeText(app.flags.startTick, app.clock.TickCount()) + u"経過しました。\\w8"_s;
    case 13:
        questions_.OfferChoice(u"したい"_s, u"したくない"_s, ChoiceTopic::DelDust,
                               ChoicePosition::Top);
        return u"\\hねえ%username、\\w5ごみ箱空にしたくない？\\w5"_s;
    case 14:
        return u"\\h"_s + TipTalk(talk_);
    case 15:
        return DiskSpaceTalk();
    case 16:
        return DriveTalk();
    default:
        return {};
    }
}

QString MachineTalk::MemoryTalk() {
    const MemoryStatus s = talk_.machine.Memory();
    const int load = qBound(0, s.loadPercent, 100);
    return u"\\h只今のメモリ使用率は "_s + QString::number(load) + u"% で、\\w5\\n空き容量は"_s +
           GroupedNumber(s.availableBytes / 1024) + u"KBです。\\w8"_s + kCrLf2 + MemoryRemark(load);
}

QString MachineTalk::MachineUptimeTalk() {
    static const char16_t* const kRemarks[] = {
        u"まだまだ修行が足りん！", u"そろそろハングるかもよ～。\\w8",
        u"%username、\\w5たまには休憩をとった方がいいよ～",
        u"いったい%usernameは何やってるの？\\w5", u"こんなの起動したうちに入らないよ～。\\w8"};
    const QString uptime = MachineUptimeText(talk_.machine.UptimeMs());
    return u"\\hパソコンを起動してから"_s + uptime + u"経過しました。\\w8"_s + kCrLf2 +
           QStringView(kRemarks[talk_.Pick(5) - 1]).toString();
}

QString MachineTalk::BatteryTalk() {
    const PowerStatus p = talk_.machine.Power();
    QString state;
    switch (p.batteryStatus) {
    case 1:
        state = u"ばっちしOK。\\w8"_s;
        break;
    case 2:
        state = u"まだまだ大丈夫。\\w8"_s;
        break;
    case 4:
        state = u"残量が危険。\\w8"_s;
        break;
    case 8:
        state = u"充電中。\\w8"_s;
        break;
    case 128:
    case 255:
        state = u"わかりません。\\w8"_s;
        break;
    default:
        break;
    }
    return u"\\hバッテリの状態は、\\w5"_s + state + u"詳しく言うと、\\w5残り "_s +
           QString::number(p.batteryPercent) + u"% です。\\w8"_s;
}

QString MachineTalk::DiskSpaceTalk() {
    QStringList lines;
    for (const DriveInfo& d : talk_.machine.Drives()) {
        if (d.type != DriveType::Fixed) continue;
        // The mount point stands where the drive letter stood.
        lines << d.root + u"ドライブの空き容量が"_s + SizeText(talk_.machine.FreeBytes(d.root)) +
                     u"\\w8"_s;
    }
    return u"\\h現在のディスク残量は、\\w5\\n"_s + lines.join(u"\r\n"_s) +
           u"\\n\\n\\w8･･･ってな感じです。"_s;
}

QString MachineTalk::DriveTalk() {
    std::array<int, 7> count{};
    for (const DriveInfo& d : talk_.machine.Drives())
        if (int(d.type) >= 0 && int(d.type) < int(count.size())) ++count[size_t(d.type)];
    struct Row {
        DriveType type;
        const char16_t* label;
    };
    // RAM disks and drives of unknown type are both "不明なドライブ", each on its own line.
    static constexpr Row kRows[] = {
        {DriveType::Fixed, u"･ハードディスクが"},
        {DriveType::RamDisk, u"･不明なドライブが"},
        {DriveType::CdRom, u"･CD-ROMドライブが"},
        {DriveType::Removable, u"･フロッピーディスクドライブが"},
        {DriveType::Remote, u"･ネットワーク共有ドライブが"},
        {DriveType::Unknown, u"･不明なドライブが"},
        {DriveType::NoRoot, u"･存在しないドライブが"},
    };
    QString lines;
    for (const Row& row : kRows) {
        const int n = count[size_t(row.type)];
        if (n != 0)
            lines += QStringView(row.label).toString() + QString::number(n) + u"台\\w8\\n"_s;
    }
    const int cd = count[size_t(DriveType::CdRom)];
    QString text = u"\\hこのマシンのドライブ構成は、\\w5\\n\\n"_s + lines;
    if (cd < 3) return text + u"\\n･･･ってな感じです。"_s;
    return text + u"\\n･･･ってな感じです。\\w8\\w8\\uCDドライブ"_s + QString::number(cd) +
           u"台？\\w8\\w8\\n･･･仮想CDか？"_s;
}

} // namespace orvanel
