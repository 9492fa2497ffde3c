#include "watch/window_watch.h"

#include "core/app_context.h"
#include "platform/codec.h"
#include "platform/desktop_windows.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "talk/dictionary.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// The title buffers of the original: 255 bytes for the list, 256 for the remark, each with
// its terminating NUL.
constexpr qsizetype kListTitleBytes = 254;
constexpr qsizetype kRemarkTitleBytes = 255;

enum class Command { Minimize, Maximize };

struct Remark {
    Command command;
    const char16_t* before;
    const char16_t* after;
};

const Remark kRemarks[] = {
    {Command::Minimize, u"\\hそこの「 ", u" 」、\\n\\nお前、邪魔だ～！最小化の刑に処す！"},
    {Command::Maximize, u"\\h「 ", u" 」は最大化してこそその本領が発揮されます。たぶん。"},
    {Command::Maximize, u"\\h「 ", u" 」は最大化して使うべきであります。\\n\\n・・・おそらく。"},
    {Command::Minimize, u"\\h「 ", u" 」は、タスクバーにでもおさまってなさい。"},
    {Command::Minimize, u"\\h「 ", u" 」、って目障り。\\n\\nだから、最小化。"},
};

// File search tools of the desktops, with the arguments that start one on a folder.
struct SearchTool {
    const char16_t* program;
    const char16_t* pathOption; // "" when the folder is the first argument, null when none
};
const SearchTool kSearchTools[] = {
    {u"catfish", u""},
    {u"kfind", u""},
    {u"mate-search-tool", u"--path="},
    {u"gnome-search-tool", u"--path="},
    {u"fsearch", nullptr},
    {u"searchmonkey", nullptr},
};

} // namespace

WindowWatch::WindowWatch(AppContext& ctx, Dictionary& dictionary, DesktopWindows& windows)
    : findProgram([](const QString& name) { return QStandardPaths::findExecutable(name); }),
      ctx_(ctx), dictionary_(dictionary), windows_(windows) {}

QString WindowWatch::KnownSoftwareTalk() {
    titleList_.clear();
    windowCount_ = 0;
    for (const QString& title : windows_.Titles()) {
        if (title.isEmpty()) continue;
        titleList_ += codec::CutToBytes(title, kListTitleBytes) + u',';
        ++windowCount_;
    }
    QString found;
    for (const QString& category : {u"ソフト"_s, u"ウイルス"_s}) {
        const qint32 count = dictionary_.WordCount(category);
        for (qint32 i = 1; i <= count; ++i) {
            const QString word = dictionary_.ReadTalk(category, i);
            // A gap in the numbering is no program: an empty word would match every list.
            if (word.isEmpty() || !titleList_.contains(word)) continue;
            if (!found.isEmpty()) found += u"\r\n"_s;
            found += word;
        }
    }
    if (found.isEmpty())
        return u"\\h今起動している中で%"
               u"selfcallの知っているソフトは、、、\\n・・・ひとつもありません。"
               "しょんぼり～。"_s;
    return u"\\h今起動している中で%selfcallの知っているソフトは\\n"_s + found + u"\r\n\r\n"_s +
           u"・・・これくらいかな。"_s;
}

void WindowWatch::AimAtActiveWindow() {
    target_ = windows_.ActiveWindow();
}

QString WindowWatch::WindowRemark() {
    ctx_.flags.foregroundRequest = true;
    const QString title =
        target_ ? codec::CutToBytes(windows_.Title(target_), kRemarkTitleBytes) : QString();
    if (title.isEmpty()) return u"\\h\\s5ちっ、\\w5ミスったか。"_s;
    const Remark& r = kRemarks[ctx_.random.Pick(5) - 1];
    // Failures of the window system are ignored: the remark is made in any case.
    if (r.command == Command::Minimize)
        ctx_.actions.MinimizeWindow(target_);
    else
        ctx_.actions.MaximizeWindow(target_);
    return QString::fromUtf16(r.before) + title + QString::fromUtf16(r.after);
}

void WindowWatch::OpenComputerFolder() {
    ctx_.actions.OpenFolder(QDir::homePath());
}

QString WindowWatch::OpenFileSearch() {
    for (const SearchTool& tool : kSearchTools) {
        const QString path = findProgram(QString::fromUtf16(tool.program));
        if (path.isEmpty()) continue;
        QStringList arguments;
        if (tool.pathOption) arguments << QString::fromUtf16(tool.pathOption) + QDir::homePath();
        if (ctx_.actions.StartProgram(path, arguments)) return {};
    }
    return u"\\hファイル検索ツールが見つかりません。"_s;
}

} // namespace orvanel
