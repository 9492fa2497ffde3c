#include "talk/drop_reactions.h"

#include "core/app_context.h"
#include "net/web_text.h"
#include "platform/system_actions.h"
#include "script/script_player.h"
#include "talk/bulk_update.h"
#include "talk/talk_context.h"
#include "tools/trace_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// Lines of a dropped text she repeats; further line breaks become blanks, so that her question
// stays inside the balloon.
constexpr int kDroppedTextLines = 5;

const QString kFailed = u"\\h失敗～。"_s;

// File managers put the dropped files' names beside them as text as well; that is no text of
// its own to ask about.
bool OnlyNamesFiles(const QString& text, const QStringList& files) {
    if (files.isEmpty()) return false;
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty()) return false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        const QUrl url(line);
        if (!files.contains(line) && !(url.isLocalFile() && files.contains(url.toLocalFile())))
            return false;
    }
    return true;
}

} // namespace

QString DroppedTextScript(const QString& text) {
    if (text.startsWith(u"http://") || text.startsWith(u"https://")) return {};
    qsizetype n = qMin(text.size(), kDroppedTextChars);
    if (n < text.size() && n > 0 && text.at(n - 1).isHighSurrogate()) --n;
    QString cut;
    cut.reserve(n * 2);
    int breaks = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ++i;
            cut += ++breaks < kDroppedTextLines ? u"\r\n"_s : u" "_s;
        } else if (c == u'\t') {
            cut += u' ';
        } else if (c.category() != QChar::Other_Control) {
            cut += c;
        }
    }
    return u"\\h「"_s + ShowLiterally(cut) + u"」って何のことですか？"_s;
}

DropReactions::DropReactions(TalkContext& talk, BulkUpdate& bulk) : talk_(talk), bulk_(bulk) {}

void DropReactions::Say(const QString& line) {
    talk_.player.PlayScript(line, ScriptOrigin::Touch);
}

void DropReactions::Fail(const QString& why) {
    talk_.app.log.LogLine(u"Drop: "_s + why);
    Say(kFailed);
}

void DropReactions::Drop(const QStringList& files, const std::optional<QString>& text) {
    if (!files.isEmpty()) DropFiles(files);
    if (!text || OnlyNamesFiles(*text, files)) return;
    const QString script = DroppedTextScript(*text);
    if (!script.isEmpty()) Say(script);
}

bool DropReactions::Readable(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        Fail(path + u" not found"_s);
        return false;
    }
    if (!info.isReadable() || (info.isDir() && !info.isExecutable())) {
        Fail(path + u" cannot be read"_s);
        return false;
    }
    return true;
}

void DropReactions::DropFiles(const QStringList& files) {
    const QString& first = files.first();
    const DropKind kind = ClassifyDrop(first, QFileInfo(first).isDir());
    if (kind == DropKind::Other) {
        OpenFiles(files);
        return;
    }
    if (!Readable(first)) return;
    const QString folder = talk_.app.settings.AppFolderNoSlash();
    switch (kind) {
    case DropKind::ProgramUpdate:
        UpdateArchive(first);
        break;
    case DropKind::SkinArchive:
        Say(u"\\hスキンを更新します。"_s);
        if (!Unpack(first, folder, u"SkinUpdate / Start Decompression..."_s)) break;
        if (hooks.skinsArrived) hooks.skinsArrived();
        talk_.app.log.LogEnd(u" Complete"_s);
        break;
    case DropKind::AddInArchive:
        Say(u"\\hアドインをインストールします。"_s);
        if (!Unpack(first, folder, u"Install AddIn / Start Decompression..."_s)) break;
        Say(u"\\hインストール完了。"_s);
        talk_.app.log.LogEnd(u" Complete"_s);
        break;
    default:
        bulk_.HandleDrop(first);
        break;
    }
}

bool DropReactions::Unpack(const QString& archive, const QString& folder, const QString& begin) {
    TraceLog& log = talk_.app.log;
    log.LogBegin(begin);
    const QString refused =
        bulk_.extractArchive ? bulk_.extractArchive(archive, folder) : u"no archive support"_s;
    if (refused.isEmpty()) return true;
    log.LogEnd(u" Refused: "_s + refused);
    Say(kFailed);
    return false;
}

void DropReactions::UpdateArchive(const QString& archive) {
    Say(u"\\h自動更新エンジンを起動します。\\w8\\w8\\u･･･バグでも出たか？"_s);
    // Emptied first: an updater left from an earlier drop must not start after a failed one.
    const QString folder = talk_.app.settings.AppFolder() + u"UpdateTemp"_s;
    // A link in its place is removed, not followed.
    const bool cleared =
        QFileInfo(folder).isSymLink() ? QFile::remove(folder) : QDir(folder).removeRecursively();
    if (!cleared) {
        Fail(u"cannot empty "_s + folder);
        return;
    }
    if (!Unpack(archive, folder, u"AutoUpdate / Start Decompression..."_s)) return;
    talk_.app.log.LogEnd(u" Complete"_s);
    RunUpdater();
}

bool DropReactions::RunUpdater() {
    const Settings& settings = talk_.app.settings;
    const QString folder = settings.AppFolder() + u"UpdateTemp"_s;
    QString path = settings.FilePath(u"UpdateTemp\\Update"_s);
    if (!QFileInfo::exists(path)) {
        const QString exe = settings.FilePath(u"UpdateTemp\\Update.exe"_s);
        if (QFileInfo::exists(exe)) path = exe;
    }
    const QFileInfo info(path);
    const QString why = QFileInfo(folder).isSymLink()        ? u"UpdateTemp is a link"_s
                        : !info.exists()                     ? u"not found"_s
                        : info.isSymLink() || !info.isFile() ? u"not a regular file"_s
                        : !info.isExecutable()               ? u"not executable"_s
                                                             : QString();
    TraceLog& log = talk_.app.log;
    const auto failed = [&](const QString& reason) {
        log.LogLine(u"RunUpdater: "_s + path + u": "_s + reason);
        Say(u"\\h"_s + ShowLiterally(path) + u" の起動に失敗しました。"_s);
        return false;
    };
    if (!why.isEmpty()) return failed(why);
    const QString question = u"更新プログラムを起動しますか？\n\n"_s + path;
    if (!hooks.confirm || !hooks.confirm(question)) return failed(u"not confirmed"_s);
    if (!talk_.app.actions.StartProgram(path, {})) return failed(u"did not start"_s);
    if (!talk_.app.settings.WriteSwitch(SettingKey::UpDate, true))
        log.LogLine(u"Write failed: "_s + SettingName(SettingKey::UpDate));
    if (hooks.endNow) hooks.endNow();
    return true;
}

void DropReactions::OpenFiles(const QStringList& files) {
    Say(u"\\hそれ～。"_s);
    for (const QString& file : files) {
        if (!Readable(file)) continue;
        if (!talk_.app.actions.OpenFile(file)) Fail(file + u" did not open"_s);
    }
}

} // namespace orvanel
