#include "app/launcher_tools.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// The tools of the original and what a Linux desktop offers for each. Where a remark named
// something Linux has not got (the registry, DirectX, infrared, TRACERT) it names what the
// stand-in does instead; the other remarks are as she always said them.
constexpr LauncherTool kTools[] = {
    // System Policy Editor
    {u"cmdpole", u"ユーザー設定",
     u"gnome-control-center user-accounts|systemsettings kcm_users|users-admin",
     u"\\hユーザーごとにいろいろ設定できるよ～。"},
    // Disk Cleanup
    {u"cmdclnup", u"ディスククリーンアップ", u"bleachbit|baobab|filelight|qdirstat",
     u"\\hいらないファイルを削除できるよ～。"},
    // System Configuration Utility: the programs started with the session
    {u"cmdmscf", u"自動起動の設定",
     u"gnome-session-properties|xfce4-session-settings|systemsettings kcm_autostart|"
     u"lxqt-config-session",
     u"\\hいろいろ設定できるよ～。"},
    // Registry Editor
    {u"cmdreged", u"設定エディタ", u"dconf-editor", u"\\h設定データベースをいじくるよ～。"},
    // Registry Checker
    {u"cmdscanreg", u"システムログ", u"gnome-logs|ksystemlog",
     u"\\hシステムのログをチェックするよ～。"},
    // ScanDisk
    {u"cmdsd", u"ディスクユーティリティ", u"gnome-disks|partitionmanager|gparted",
     u"\\hディスクのエラーをチェックするよぉ。"},
    // System File Checker
    {u"cmdsfc", u"パッケージ管理", u"synaptic-pkexec|synaptic|muon",
     u"\\hパッケージの整合性をチェックするよ～。"},
    // System Information
    {u"cmdsysinfo", u"システム情報",
     u"hardinfo2|hardinfo|kinfocenter|gnome-control-center info-overview",
     u"\\hいろいろ調べることが出来るよ～。"},
    // System Monitor
    {u"cmdsysmon", u"システムモニタ",
     u"gnome-system-monitor|plasma-systemmonitor|ksysguard|xfce4-taskmanager|lxtask",
     u"\\hシステムをモニタリングするよ～。"},
    // Disk Defragmenter: Linux file systems need none; partitions are what gets tidied.
    {u"cmddef", u"パーティション", u"gparted|partitionmanager|gnome-disks",
     u"\\hディスクのパーティションを整理するよ～。"},
    // IP Configuration
    {u"cmdip", u"ネットワーク接続",
     u"nm-connection-editor|gnome-control-center network|systemsettings kcm_networkmanagement",
     u"\\h自分のIPとか分かるよ～。"},
    // Clipboard Viewer
    {u"cmdcb", u"クリップボード", u"copyq|diodon|xclipboard|gpaste-client ui",
     u"\\hクリップボード監視～。"},
    // Volume Control
    {u"cmdvol", u"ボリューム", u"pavucontrol|pavucontrol-qt|gnome-control-center sound|kmix",
     u"\\hボリュームの調調整ができるよ～。"},
    // Resource Meter
    {u"cmdres", u"リソースメータ",
     u"gnome-system-monitor -r|plasma-systemmonitor|xfce4-taskmanager|lxtask",
     u"\\hシステムリソースを監視するよ～。"},
    // System Configuration Editor
    {u"cmdsysed", u"システム設定",
     u"gnome-control-center|systemsettings|xfce4-settings-manager|lxqt-config",
     u"\\hシステム関係いじくるよ～。"},
    // Tweak UI: started, then the launcher closes without a word
    {u"cmdtw", u"調整ツール", u"gnome-tweaks|xfce4-settings-editor|systemsettings",
     u"\\hなかなか便利なツールだよ～。", false},
    // DirectX Diagnostic Tool
    {u"cmddxdiag", u"グラフィックス情報", u"nvidia-settings|kinfocenter|hardinfo2|hardinfo",
     u"\\hグラフィックス情報～。"},
    // DVD Player
    {u"cmddvd", u"メディアプレイヤ", u"totem|vlc|celluloid|parole|dragon|smplayer",
     u"\\hおまけのDVDプレイヤ～。"},
    // Infrared file transfer
    {u"cmdirftp", u"Bluetooth転送", u"bluetooth-sendto|blueman-sendto|bluedevil-sendfile",
     u"\\hBluetoothでファイル交換できるよ～。"},
    // MS-DOS prompt
    {u"cmddos", u"端末",
     u"x-terminal-emulator|gnome-terminal|konsole|xfce4-terminal|lxterminal|xterm",
     u"\\hPINGとかTRACEROUTEする時に。"},
    // System Restore
    {u"cmdresui", u"システムの復元", u"timeshift-launcher|timeshift-gtk|deja-dup|snapper-gui",
     u"\\hシステムを復元するよ～。"},
    // The screen saver: the desktop's own, through xdg-utils or its D-Bus service
    {u"cmdscr", u"スクリーンセーバー",
     u"xdg-screensaver activate|dbus-send --session --dest=org.freedesktop.ScreenSaver "
     u"--type=method_call /org/freedesktop/ScreenSaver org.freedesktop.ScreenSaver.SetActive "
     u"boolean:true",
     u"\\hスクリーンセーバーを起動するよ～。", false},
};

} // namespace

std::span<const LauncherTool> LauncherTools() {
    return kTools;
}

std::optional<ToolCommand> FindTool(const LauncherTool& tool) {
    const QStringList lines = QString::fromUtf16(tool.candidates).split(u'|');
    for (const QString& line : lines) {
        QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        const QString program = QStandardPaths::findExecutable(words.takeFirst());
        if (!program.isEmpty()) return ToolCommand{program, words};
    }
    return std::nullopt;
}

} // namespace orvanel
