#include "talk/word_registration.h"

#include "core/app_context.h"
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

void WordRegistration::PressEnter() {
    if (input_.isEmpty() || category_ < 0) return;
    const QString name = CategoryName();
    const QString w = input_;
    const qint32 n = dictionary_.WordCount(name);
    // The edited word itself does not count as known: editing a word to its own text is no
    // refusal.
    bool known = false;
    for (qint32 i = 1; i <= n && !known; ++i)
        known = i != editKey_ && dictionary_.ReadTalk(name, i) == w;
    if (known) {
        ++known_;
    } else if (editKey_ == 0 ? !dictionary_.AppendWord(name, w)
                             : !dictionary_.WriteTalk(name, QString::number(editKey_), w)) {
        // The list and the counters show only what the dictionary holds.
        app_.log.LogLine(u"WordRegist: "_s + name + u" not written"_s);
        player_.PlayScript(u"\\h覚えられなかった～。"_s);
    } else if (editKey_ == 0) {
        lines_.append(u"Add:"_s + w);
        count_ = dictionary_.WordCount(name);
        ++added_;
    } else if (w != oldText_) {
        ++corrected_;
        lines_[editKey_ - 1] = u"Fix:"_s + w;
    }
    selected_ = editKey_ > 0 ? editKey_ - 1 : int(lines_.size()) - 1;
    editKey_ = 0;
    oldText_.clear();
    Prefill();
    app_.flags.balloonHold = true;
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
