#include "talk/word_registration.h"

#include "core/app_context.h"
#include "platform/codec.h"
#include "platform/ini_file.h"
#include "script/script_player.h"
#include "talk/dictionary.h"
#include "tools/trace_log.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace orvanel {

WordRegistration::WordRegistration(AppContext& app, Dictionary& dictionary, ScriptPlayer& player)
    : app_(app), dictionary_(dictionary), player_(player) {}

void WordRegistration::Open() {
    app_.log.LogBegin(u"Load WordRegistForm..."_s);
    added_ = known_ = corrected_ = 0;
    SelectCategory(0);
    app_.log.LogEnd(u" Complete"_s);
}

bool WordRegistration::BoldList() const {
    return app_.settings.Switch(SettingKey::Bold);
}

QString WordRegistration::CategoryName() const {
    return orvanel::CategoryName(category_);
}

void WordRegistration::SelectCategory(int index) {
    if (index < 0 || index >= kCategoryCount) return;
    category_ = index;
    const QString name = CategoryName();
    prompt_ = CategoryPrompt(index);
    count_ = dictionary_.WordCount(name);
    editKey_ = 0;
    oldText_.clear();
    // One read of the whole section: the keys 1..PN in order, gaps as empty lines.
    QHash<QString, QString> words;
    for (const auto& [key, value] : app_.ini.Keys(dictionary_.FilePath(name), name))
        words.insert(key, value);
    lines_.clear();
    for (qint32 i = 1; i <= count_ && i <= 1'000'000; ++i)
        lines_.append(words.value(QString::number(i)));
    selected_ = -1;
    Prefill();
}

void WordRegistration::Prefill() {
    const QString name = CategoryName();
    if (name == u"アドレス") {
        input_ = u"http://www."_s;
        caret_ = 11;
    } else if (name == u"類似") {
        input_ = u","_s;
        caret_ = 0;
    } else {
        input_.clear();
        caret_ = 0;
    }
}

void WordRegistration::SetInputText(const QString& text) {
    input_ = text;
    caret_ = int(text.size());
}

void WordRegistration::KeyTyped() {
    app_.flags.balloonHold = true;
}

void WordRegistration::EditRow(int row) {
    if (row < 0 || row >= lines_.size()) return;
    editKey_ = row + 1;
    // The word as the file holds it, not the list line ("Add:..." or "Fix:..." after an edit).
    oldText_ = dictionary_.ReadTalk(CategoryName(), editKey_);
    SetInputText(oldText_);
    selected_ = row;
}

WordRegistration::Entry WordRegistration::PressEnter() {
    if (input_.isEmpty() || category_ < 0) return Entry::Ignored;
    const QString name = CategoryName();
    // The file holds no blanks around a value and no line breaks, and only what CP932 can
    // say: what it cannot keep as typed is refused, not cut or changed behind the user's back.
    if (input_.trimmed().isEmpty()) return Entry::Blank;
    for (QChar c : std::as_const(input_))
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return Entry::BadCharacter;
    if (!codec::CanEncode(input_)) return Entry::BadCharacter;
    if (codec::Cp932Length(input_) > IniStore::kMaxValueBytes) return Entry::TooLong;
    // As the file will give it back (look-alikes such as U+301C read back as U+FF5E), so that
    // the same word typed twice is known the second time.
    const QString w = codec::FromCp932(codec::ToCp932(input_.trimmed()));
    const qint32 n = dictionary_.WordCount(name);
    // The edited word itself does not count as known: editing a word to its own text is no
    // refusal.
    bool known = false;
    for (qint32 i = 1; i <= n && !known; ++i)
        known = i != editKey_ && dictionary_.ReadTalk(name, i) == w;
    Entry entry = Entry::Known;
    if (known) {
        ++known_;
    } else if (editKey_ == 0 ? !dictionary_.AppendWord(name, w)
                             : !dictionary_.WriteTalk(name, QString::number(editKey_), w)) {
        // The list and the counters show only what the dictionary holds.
        app_.log.LogLine(u"WordRegist: "_s + name + u" not written"_s);
        player_.PlayScript(u"\\h覚えられなかった～。"_s);
        entry = Entry::NotWritten;
    } else if (editKey_ == 0) {
        lines_.append(u"Add:"_s + w);
        count_ = dictionary_.WordCount(name);
        ++added_;
        entry = Entry::Added;
    } else if (w != oldText_) {
        ++corrected_;
        lines_[editKey_ - 1] = u"Fix:"_s + w;
        entry = Entry::Corrected;
    } else {
        entry = Entry::Unchanged;
    }
    selected_ = editKey_ > 0 ? editKey_ - 1 : int(lines_.size()) - 1;
    editKey_ = 0;
    oldText_.clear();
    Prefill();
    app_.flags.balloonHold = true;
    return entry;
}

QString WordRegistration::RefusalText(Entry entry) {
    switch (entry) {
    case Entry::Blank:
        return u"空白だけの単語は登録できません。"_s;
    case Entry::TooLong:
        return u"長すぎる単語は登録できません（254バイトまで）。"_s;
    case Entry::BadCharacter:
        return u"辞書ファイルに書けない文字が含まれています。"_s;
    case Entry::NotWritten:
        return u"辞書ファイルに書き込めませんでした。"_s;
    default:
        return {};
    }
}

bool WordRegistration::Close() {
    const QString total = QString::number(dictionary_.TotalWordCount());
    player_.PlayScript(u"\\h今回は"_s + QString::number(added_) +
                       u"件の追加登録がありました。\\w8\\n\\n現在の単語数は･･･\\w8\\n"_s + total +
                       u"語です。\\w8\\w8\\u"_s + total + u"語か･･･\\w8\\cまだまだやね。"_s);
    app_.flags.balloonHold = false;
    return !app_.flags.silent;
}

} // namespace orvanel
