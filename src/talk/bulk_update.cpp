#include "talk/bulk_update.h"

#include "core/app_context.h"
#include "platform/ini_file.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "script/script_player.h"
#include "talk/dictionary.h"
#include "talk/talk_context.h"
#include "tools/trace_log.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

const QString kPN = u"PN"_s;

// The canonical decimal key of a word position ("1", "2", ...), or 0 for any other key.
qint64 WordKey(const QString& key) {
    bool ok = false;
    const qint64 n = key.toLongLong(&ok);
    return ok && n >= 1 && key == QString::number(n) ? n : 0;
}

// Empty words and words of one blank are never kept.
bool Blank(const QString& word) {
    return word.isEmpty() || word == u" ";
}

struct Word {
    QString key; // the word upper-cased: equal keys are the same word
    QString text;
};

} // namespace

DropKind ClassifyDrop(const QString& path, bool isFolder) {
    const auto has = [&](const char* part) {
        return path.contains(QLatin1StringView(part), Qt::CaseInsensitive);
    };
    if (has("tomu.lzh")) return DropKind::ProgramUpdate;
    if (has(".skin.lzh")) return DropKind::SkinArchive;
    if (has(".addin.lzh")) return DropKind::AddInArchive;
    if (has("TalkEngine.lzh")) return DropKind::DictionaryArchive;
    if (has("talk.ini")) return DropKind::TalkIni;
    if (has("NGWord.ini")) return DropKind::NGWords;
    if (isFolder && has("TalkEngine")) return DropKind::DictionaryFolder;
    return DropKind::Other;
}

BulkUpdate::BulkUpdate(TalkContext& talk) : talk_(talk) {}

bool BulkUpdate::HandleDrop(const QString& path) {
    const QFileInfo info(path);
    TraceLog& log = talk_.app.log;
    const DropKind kind = ClassifyDrop(path, info.isDir());
    if (kind == DropKind::DictionaryArchive && !extractArchive) return false;
    const bool dictionary = kind == DropKind::DictionaryArchive || kind == DropKind::TalkIni ||
                            kind == DropKind::NGWords || kind == DropKind::DictionaryFolder;
    if (dictionary && !Begin()) return true;
    switch (kind) {
    case DropKind::DictionaryArchive: {
        log.LogBegin(u"TalkEngine Update / LZH Decompression..."_s);
        talk_.player.PlayScript(u"\\h辞書更新エンジンを起動します。"_s);
        // Emptied first, so that a failed extraction merges nothing left from an earlier one.
        const QString folder = talk_.app.settings.AppFolder() + u"TEtmp"_s;
        if (!QDir(folder).removeRecursively() || !QDir().mkpath(folder)) {
            log.LogEnd(u" cannot prepare "_s + folder);
            talk_.player.PlayScript(u"\\h辞書を更新できなかった～。"_s);
            return true;
        }
        // Archives come from other people: a refused one is not merged at all, and said so.
        const QString refused = extractArchive(path, folder);
        if (!refused.isEmpty()) {
            log.LogEnd(u" Refused: "_s + refused);
            talk_.player.PlayScript(u"\\hこの圧縮ファイルは展開できませんでした。"_s);
            return true;
        }
        UpdateFromFolder(folder + u'/');
        log.LogEnd(u" Complete"_s);
        return true;
    }
    case DropKind::TalkIni:
        log.LogBegin(u"TalkEngine Update / from talk.ini"_s);
        UpdateFromTalkIni(path);
        log.LogEnd(u" Complete"_s);
        return true;
    case DropKind::NGWords:
        CheckNGWords(path);
        return true;
    case DropKind::DictionaryFolder:
        log.LogBegin(u"TalkEngine Update / from TalkEngine Folder..."_s);
        UpdateFromFolder(path);
        log.LogEnd(u" Complete"_s);
        return true;
    default:
        return false;
    }
}

bool BulkUpdate::Begin() {
    // The pass lets events run, and so another drop: it waits for no one and is refused.
    if (running_) {
        talk_.app.log.LogLine(u"TalkEngine Update refused: one is running"_s);
        return false;
    }
    return true;
}

void BulkUpdate::SayAdded() {
    talk_.player.PlayScript(u"\\h終了しました。\r\n\r\n"_s + QString::number(added_) +
                            u"件の追加登録がありました。"_s);
}

void BulkUpdate::UpdateFromTalkIni(const QString& path) {
    if (!Begin()) return;
    Pass(Mode::Merge, [&](const QString&) { return path; });
    SayAdded();
}

void BulkUpdate::UpdateFromFolder(const QString& folder) {
    if (!Begin()) return;
    QString base = NativePath(folder);
    if (!base.endsWith(u'/')) base += u'/';
    Pass(Mode::Merge, [&](const QString& category) { return base + category + u".ini"_s; });
    SayAdded();
}

void BulkUpdate::CheckNGWords(const QString& path) {
    if (!Begin()) return;
    Pass(Mode::NGCheck, [&](const QString&) { return path; });
    talk_.player.PlayScript(u"\\h終了しました。\r\n\r\n"_s + QString::number(ngFound_) +
                            u"件のNGワードがありました。\\n現在の単語数は･･･\\w8\\n"_s +
                            QString::number(talk_.dictionary.TotalWordCount()) + u"語です。"_s);
}

void BulkUpdate::Pass(Mode mode, const SourceOf& source) {
    running_ = true;
    talk_.app.flags.balloonHold = true;
    added_ = 0;
    ngFound_ = 0;
    for (int i = 0; i < kCategoryCount; ++i) {
        const QString category = CategoryName(i);
        MergeCategory(mode, category, source(category));
    }
    running_ = false;
}

void BulkUpdate::LetEventsRun(bool now) {
    // Often enough for the windows to stay responsive, seldom enough not to cost the pass.
    Clock& clock = talk_.app.clock;
    if (!now && clock.TickCount() - lastEvents_ < 20) return;
    clock.ProcessEvents(0);
    lastEvents_ = clock.TickCount();
}

QStringList BulkUpdate::SectionWords(const QString& file, const QString& section, qint32* pn,
                                     bool letEventsRun) {
    const QList<QPair<QString, QString>> keys = talk_.app.ini.Keys(file, section);
    qint32 count = 0;
    QList<QPair<qint64, QString>> numbered;
    for (const auto& [key, value] : keys)
        if (key.compare(kPN, Qt::CaseInsensitive) == 0) count = LenientInt(value);
    // Only the keys that exist are visited, so a "PN" of a billion costs nothing.
    for (const auto& [key, value] : keys) {
        const qint64 n = WordKey(key);
        if (n >= 1 && n <= count) numbered.append({n, value});
    }
    std::sort(numbered.begin(), numbered.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList words;
    words.reserve(numbered.size());
    for (const auto& entry : numbered) {
        if (letEventsRun) LetEventsRun();
        words.append(entry.second);
    }
    if (pn) *pn = count;
    return words;
}

void BulkUpdate::MergeCategory(Mode mode, const QString& category, const QString& sourceFile) {
    ShowTextNow(talk_, u"只今 [ "_s + category +
                           (mode == Mode::Merge ? u" ] を更新中。"_s : u" ] を検査中。"_s));
    talk_.app.flags.balloonHold = true;
    LetEventsRun(true);

    // The source first: events may run while it is read, and a word learned meanwhile must
    // be in the category file when it is read below, without events in between, and written.
    const QStringList source = SectionWords(sourceFile, category, nullptr, true);
    const QString file = talk_.dictionary.FilePath(category);
    if (file.isEmpty()) return;
    qint32 n = 0;
    const QStringList own = SectionWords(file, category, &n, false);

    QList<Word> list;
    list.reserve(own.size() + source.size());
    const auto add = [&](const QStringList& words) {
        for (const QString& w : words)
            if (!Blank(w)) list.append({w.toUpper(), w});
    };
    add(own);
    QList<Word> merged;
    qint32 gained = 0;
    if (mode == Mode::Merge) {
        add(source);
        std::stable_sort(list.begin(), list.end(),
                         [](const Word& a, const Word& b) { return a.key < b.key; });
        // Of the words that differ only in letter case, the one merged last stays.
        for (qsizetype i = 0; i < list.size(); ++i)
            if (i + 1 == list.size() || list[i].key != list[i + 1].key) merged.append(list[i]);
        gained = qint32(merged.size()) - n;
    } else {
        // An NG list only takes words out; its words that the category lacks are not added.
        QSet<QString> ng;
        for (const QString& w : source)
            if (!Blank(w)) ng.insert(w.toUpper());
        std::stable_sort(list.begin(), list.end(),
                         [](const Word& a, const Word& b) { return a.key < b.key; });
        for (const Word& w : list) {
            if (ng.contains(w.key))
                ++ngFound_;
            else
                merged.append(w);
        }
    }

    // One write of the whole section: "PN", the words, and any key that is not a word's.
    QList<QPair<QString, QString>> keys;
    keys.reserve(merged.size() + 1);
    keys.append({kPN, QString::number(merged.size())});
    for (qsizetype i = 0; i < merged.size(); ++i)
        keys.append({QString::number(i + 1), merged[i].text});
    const qint64 replaced = qMax<qint64>(n, merged.size());
    const QList<QPair<QString, QString>> before = talk_.app.ini.Keys(file, category);
    for (const auto& [key, value] : before) {
        const qint64 k = WordKey(key);
        if (key.compare(kPN, Qt::CaseInsensitive) == 0 || (k >= 1 && k <= replaced)) continue;
        keys.append({key, value});
    }
    // A category that is already as it would be written is left alone; one that cannot be
    // written adds nothing to the count she reports.
    if (keys != before && !talk_.app.ini.ReplaceSection(file, category, keys)) {
        talk_.app.log.LogLine(u"TalkEngine Update: cannot write "_s + file);
        return;
    }
    added_ += gained;
}

} // namespace orvanel
