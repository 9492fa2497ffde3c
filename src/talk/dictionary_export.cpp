#include "talk/dictionary_export.h"

#include "core/app_context.h"
#include "script/script_player.h"
#include "tools/trace_log.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace orvanel {

DictionaryExport::DictionaryExport(AppContext& app, ScriptPlayer& player)
    : app_(app), player_(player) {}

QString DictionaryExport::ArchivePath(const QString& desktop, const QString& fullName,
                                      const QDate& date) {
    QString folder = desktop;
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder + fullName + u'.' + date.toString(u"yyMMdd"_s) + u".TalkEngine.lzh"_s;
}

DictionaryExport::Result DictionaryExport::Export(const QString& desktop, const Confirm& confirm,
                                                  const Writer& writer) {
    const auto say = [this](const QString& script) {
        player_.PlayScript(script, ScriptOrigin::System);
    };
    say(u"\\h辞書ファイルをエキスポートします。"_s);
    const QString& name = app_.profile.fullName;
    path_ = ArchivePath(desktop, name, app_.clock.Now().date());
    // Without a name the archive would be a hidden file; a slash would lead elsewhere.
    if (name.isEmpty() || name.contains(u'/') || !QFileInfo(desktop).isDir()) {
        app_.log.LogLine(u"ExportDictionary: no archive name in "_s + path_);
        say(u"\\h辞書ファイルをエクスポート失敗～。"_s);
        return Result::Failed;
    }
    if (QFileInfo::exists(path_) &&
        !(confirm && confirm(u"既にエクスポート済みのファイルがデスクトップに存在します。\r\n"
                             "上書きしてよろしいですか？"_s))) {
        say(u"\\h処理を中断しました。"_s);
        return Result::Cancelled;
    }
    say(u"\\h辞書ファイルを圧縮しています。"_s);
    const QString source = app_.settings.FilePath(u"TalkEngine"_s);
    const ArchiveResult written =
        writer ? writer(path_, source) : WriteArchive(path_, source, ArchiveMethod::Lh5);
    app_.log.LogLine(u"ExportDictionary: "_s + path_ +
                     (written.Ok() ? u" (%1 files)"_s.arg(written.entries.size())
                                   : u" failed: "_s + written.error));
    // An archive of nothing would merge nothing on the other side: a failure too.
    const bool ok = written.Ok() && !written.entries.isEmpty();
    say(ok ? u"\\h辞書ファイルをデスクトップにエクスポートしました。"_s
           : u"\\h辞書ファイルをエクスポート失敗～。"_s);
    return ok ? Result::Written : Result::Failed;
}

} // namespace orvanel
