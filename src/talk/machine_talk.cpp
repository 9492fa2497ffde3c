#include "talk/machine_talk.h"

#include "core/app_context.h"
#include "core/version_info.h"
#include "platform/system_actions.h"
#include "script/script_player.h"
#include "talk/dictionary.h"
#include "talk/menu_talk.h"
#include "talk/questions.h"
#include "talk/talk_context.h"

#include <QStringList>

#include <array>
#include <cmath>

namespace orvanel {
namespace {

const QString kCrLf2 = QStringLiteral("\r\n\r\n");

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
    if (bytes < 1024) return QString::number(bytes) + QStringLiteral("バイト");
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
        return QStringLiteral("UNKNOWN");
    case DriveType::NoRoot:
        return QStringLiteral("NOEXIST");
    case DriveType::Removable:
        return QStringLiteral("FDD");
    case DriveType::Fixed:
        return QStringLiteral("HDD");
    case DriveType::Remote:
        return QStringLiteral("NET");
    case DriveType::CdRom:
        return QStringLiteral("CD");
    case DriveType::RamDisk:
        return QStringLiteral("RAM");
    }
    return {};
}

QString MachineUptimeText(quint64 ms) {
    const quint64 total = (ms + 500) / 1000;
    return QStringLiteral("%1時間%2分%3秒").arg(total / 3600).arg(total / 60 % 60).arg(total % 60);
}

QString MemoryRemark(int load) {
    // 80 and 90 fell between the ranges and got no remark; each joins the range above it.
    if (load <= 20) return QStringLiteral("痩せ過ぎると死にますよ。\\w8");
    if (load <= 40) return QStringLiteral("かいてき かいてき スーイスイ。\\w8");
    if (load <= 49) return QStringLiteral("まだまだOKっす。\\w8");
    if (load <= 60) return QStringLiteral("全然余裕～。\\w8");
    if (load <= 79) return QStringLiteral("まあ、\\w5まだまだ大丈夫。\\w8");
    if (load <= 89) return QStringLiteral("そろそろいっぱいいっぱいだ～。\\w8");
    if (load <= 99) return QStringLiteral("このままではシステムが%st状態になります。\\w8");
    return QStringLiteral("やった！100%達成おめでとう！");
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
    talk.player.PlayScript(done ? QStringLiteral("\\h任務完了～。")
                                : QStringLiteral("\\h失敗しました～。"));
}

MachineTalk::MachineTalk(TalkContext& talk, Questions& questions)
    : talk_(talk), questions_(questions) {}

QString MachineTalk::SystemInfoTalk() {
    int k = talk_.Pick(kTopicCount);
    if (k == 9 && !knownSoftwareTalk) {
        k = talk_.Pick(kTopicCount - 1);
        if (k >= 9) ++k;
    }
    return Topic(k);
}

QString MachineTalk::Topic(int k) {
    MachineProbes& m = talk_.machine;
    AppContext& app = talk_.app;
    switch (k) {
    case 1:
        return QStringLiteral("\\hスクリーンセーバー起動までは") + m.ScreenSaverSeconds() +
               QStringLiteral("秒なんだ。\\w8へー。\\w8");
    case 2:
        return QStringLiteral("\\h") + m.SystemVersion() + QStringLiteral("をお使いですか。\\w8");
    case 3:
        return QStringLiteral("\\h現在使用しているWindowsのプロダクトキーは\\n「") +
               m.ProductKey() + QStringLiteral("」。\\w8\\nこれは他人に教えちゃダメですよ～。\\w8");
    case 4:
        return QStringLiteral("\\h%usernameは") + m.Manufacturer() + u'の' + m.Model() +
               QStringLiteral("を使ってるんだ。\\w8使い心地はどう？\\w5");
    case 5:
        return QStringLiteral("\\hこのマシンのユーザー名は「") + m.RegisteredOwner() +
               QStringLiteral("」ですけど、\\w5これは%usernameの本名ですか？\\w5");
    case 6:
        return MemoryTalk();
    case 7: {
        const QString v = m.BrowserVersion();
        return QStringLiteral("\\h%usernameのインターネットエクスプローラーはビルド ") + v +
               QStringLiteral(" 、\\w5簡単に言うと「") + IEVersionName(v) +
               QStringLiteral("」ですね。\\w8");
    }
    case 8:
        app.actions.ClearRecentDocuments();
        return QStringLiteral("\\hスタートメニューの「最近使ったﾌｧｲﾙ」の内容をクリアしたよ～。"
                              "\\w8\\nあんまり使わないし、\\w5いいでしょ、\\w5%username？\\w5");
    case 9:
        return QStringLiteral("\\h") + (knownSoftwareTalk ? knownSoftwareTalk() : QString());
    case 10:
        return QStringLiteral("\\h今回%selfcallが起動してから") +
               QString::number(app.flags.talkCount) +
               QStringLiteral("回くらいしゃべらされました。\\w8");
    case 11:
        return QStringLiteral("\\h今のところ%selfcallが知ってる言葉は、\\w5おおよそ") +
               QString::number(talk_.dictionary.TotalWordCount()) +
               QStringLiteral("語くらいです。\\w8\\nもっと勉強しなきゃ。\\w8");
    case 12:
        return QStringLiteral("\\h今回%selfcallが起動してから、\\w5") +
               UptimeText(app.flags.startTick, app.clock.TickCount()) +
               QStringLiteral("経過しました。\\w8");
    case 13:
        questions_.OfferChoice(QStringLiteral("したい"), QStringLiteral("したくない"),
                               ChoiceTopic::DelDust, ChoicePosition::Top);
        return QStringLiteral("\\hねえ%username、\\w5ごみ箱空にしたくない？\\w5");
    case 14:
        return QStringLiteral("\\h") + TipTalk(talk_);
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
    return QStringLiteral("\\h只今のメモリ使用率は ") + QString::number(load) +
           QStringLiteral("% で、\\w5\\n空き容量は") + GroupedNumber(s.availableBytes / 1024) +
           QStringLiteral("KBです。\\w8") + kCrLf2 + MemoryRemark(load);
}

QString MachineTalk::MachineUptimeTalk() {
    static const char16_t* const kRemarks[] = {
        u"まだまだ修行が足りん！", u"そろそろハングるかもよ～。\\w8",
        u"%username、\\w5たまには休憩をとった方がいいよ～",
        u"いったい%usernameは何やってるの？\\w5", u"こんなの起動したうちに入らないよ～。\\w8"};
    const QString uptime = MachineUptimeText(talk_.machine.UptimeMs());
    return QStringLiteral("\\hパソコンを起動してから") + uptime +
           QStringLiteral("経過しました。\\w8") + kCrLf2 +
           QStringView(kRemarks[talk_.Pick(5) - 1]).toString();
}

QString MachineTalk::BatteryTalk() {
    const PowerStatus p = talk_.machine.Power();
    QString state;
    switch (p.batteryStatus) {
    case 1:
        state = QStringLiteral("ばっちしOK。\\w8");
        break;
    case 2:
        state = QStringLiteral("まだまだ大丈夫。\\w8");
        break;
    case 4:
        state = QStringLiteral("残量が危険。\\w8");
        break;
    case 8:
        state = QStringLiteral("充電中。\\w8");
        break;
    case 128:
    case 255:
        state = QStringLiteral("わかりません。\\w8");
        break;
    default:
        break;
    }
    return QStringLiteral("\\hバッテリの状態は、\\w5") + state +
           QStringLiteral("詳しく言うと、\\w5残り ") + QString::number(p.batteryPercent) +
           QStringLiteral("% です。\\w8");
}

QString MachineTalk::DiskSpaceTalk() {
    QStringList lines;
    for (const DriveInfo& d : talk_.machine.Drives()) {
        if (d.type != DriveType::Fixed) continue;
        // The mount point stands where the drive letter stood.
        lines << d.root + QStringLiteral("ドライブの空き容量が") +
                     SizeText(talk_.machine.FreeBytes(d.root)) + QStringLiteral("\\w8");
    }
    return QStringLiteral("\\h現在のディスク残量は、\\w5\\n") + lines.join(QStringLiteral("\r\n")) +
           QStringLiteral("\\n\\n\\w8･･･ってな感じです。");
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
            lines += QStringView(row.label).toString() + QString::number(n) +
                     QStringLiteral("台\\w8\\n");
    }
    const int cd = count[size_t(DriveType::CdRom)];
    QString text = QStringLiteral("\\hこのマシンのドライブ構成は、\\w5\\n\\n") + lines;
    if (cd < 3) return text + QStringLiteral("\\n･･･ってな感じです。");
    return text + QStringLiteral("\\n･･･ってな感じです。\\w8\\w8\\uCDドライブ") +
           QString::number(cd) + QStringLiteral("台？\\w8\\w8\\n･･･仮想CDか？");
}

} // namespace orvanel
