#include "talk/dictionary.h"

#include "core/settings.h"
#include "platform/ini_file.h"
#include "platform/numbers.h"
#include "platform/random.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

struct Category {
    const char16_t* name;
    const char16_t* prompt;
};

constexpr std::array<Category, kCategoryCount> kCategories = {{
    {u"日時(現在)", u"現在に近い日時を入力してください"},
    {u"日時(過去)", u"過去の日時を入力してください"},
    {u"化学反応", u"何か反応の名前を入力してください"},
    {u"天気", u"天気を入力してください"},
    {u"個数", u"数値(個数)を入力してください"},
    {u"場所", u"場所を入力してください"},
    {u"人物", u"人名を入力してください"},
    {u"形容詞1", u"「XXい」となるような形容詞を入力してください"},
    {u"形容詞2", u"名詞を修飾する形容詞を入力してください"},
    {u"副詞", u"副詞を入力してください"},
    {u"職業", u"職業名を入力してください"},
    {u"会社", u"会社名を入力してください"},
    {u"商品", u"商品名を入力してください"},
    {u"名詞(事)", u"名詞を入力してください"},
    {u"動物", u"動物の名前を入力してください"},
    {u"動詞(単純)", u"「XXする」となるような動詞を入力してください"},
    {u"動詞(過去)", u"過去の動詞を入力してください"},
    {u"動詞(現変)", u"活用する動詞を入力してください"},
    {u"動詞(過変)", u"活用する過去の動詞を入力してください"},
    {u"状態", u"状態を表す言葉を入力してください"},
    {u"ひとこと", u"何かひとこと入力してください"},
    {u"ツッコミ", u"何かツッコミをを入力してください"},
    {u"文末(名詞)", u"名詞に続く言葉を入力してください"},
    {u"文末(動詞)", u"動詞に続く言葉を入力してください"},
    {u"文末(格名)", u"格言の名詞に続く言葉を入力してください"},
    {u"文末(格動)", u"格言の動詞に続く言葉を入力してください"},
    {u"体", u"からだの一部の名前を入力してください"},
    {u"起動時", u"起動時に喋る言葉を入力してください"},
    {u"脅し", u"脅し文句を入力してください"},
    {u"格言", u"何か格言を入力してください"},
    {u"ゲーム", u"ゲーム名を入力してください"},
    {u"雑誌", u"雑誌名を入力してください"},
    {u"キャラ", u"キャラクター名を入力してください"},
    {u"ソフト", u"ソフトウエア名を入力してください"},
    {u"ウイルス", u"コンピューターウイルス名を入力してください"},
    {u"マンガ", u"マンガ名を入力してください"},
    {u"事件", u"事件名を入力してください"},
    {u"機能", u"「XX機能」となるような機能を入力してください"},
    {u"団体", u"団体名を入力してください"},
    {u"まめ知識", u"まめ知識を入力してください"},
    {u"終了時", u"終了時に喋る言葉を入力してください"},
    {u"呼び出し", u"呼び出し時に喋る言葉を入力してください"},
    {u"疑問", u"ギモンの言葉を入力してください"},
    {u"家族", u"家族関係を入力してください"},
    {u"ホームページ", u"ホームページ名を入力してください"},
    {u"アドレス", u"ホームページアドレスを入力してください"},
    {u"HPタイプ", u"ホームページの種類を入力してください"},
    {u"犯罪", u"犯罪のの種類を入力してください"},
    {u"刑罰", u"刑罰の種類を入力してください"},
    {u"法律", u"法律名を入力してください"},
    {u"魔法", u"魔法名を入力してください"},
    {u"食べ物", u"食べ物名を入力してください"},
    {u"飲み物", u"飲み物名を入力してください"},
    {u"食材", u"食材名を入力してください"},
    {u"類似", u"似ている物を入力してください(,で区切る)"},
    {u"挨拶(早朝)", u""},
    {u"挨拶(朝)", u""},
    {u"挨拶(昼)", u""},
    {u"挨拶(夕方)", u""},
    {u"挨拶(夜)", u""},
    {u"挨拶(深夜)", u""},
}};

const QString kPN = u"PN"_s;

} // namespace

QString CategoryName(int index) {
    if (index < 0 || index >= kCategoryCount) return {};
    return QStringView(kCategories[index].name).toString();
}

QString CategoryPrompt(int index) {
    if (index < 0 || index >= kCategoryCount) return {};
    return QStringView(kCategories[index].prompt).toString();
}

int CategoryIndex(const QString& name) {
    for (int i = 0; i < kCategoryCount; ++i)
        if (name == QStringView(kCategories[i].name)) return i;
    return -1;
}

Dictionary::Dictionary(const Settings& settings, Random& random)
    : settings_(settings), random_(random) {}

QString Dictionary::FilePath(const QString& category) const {
    // Category names come from scripts too ("$learn[...]"); none may name a path.
    if (category.isEmpty() || category.contains(u'/') || category.contains(u'\\') ||
        category.contains(QChar(0)))
        return {};
    // Left unresolved: the INI engine finds "talkengine" for "TalkEngine" on each read anyway.
    return settings_.AppFolder() + u"TalkEngine/"_s + category + u".ini"_s;
}

QString Dictionary::ReadTalk(const QString& category, const QString& key) const {
    const QString path = FilePath(category);
    return path.isEmpty() ? QString() : settings_.ReadIni(path, category, key);
}

QString Dictionary::ReadTalk(const QString& category, qint32 key) const {
    return ReadTalk(category, QString::number(key));
}

bool Dictionary::WriteTalk(const QString& category, const QString& key,
                           std::optional<QString> value) const {
    const QString path = FilePath(category);
    return !path.isEmpty() && settings_.WriteIni(path, category, key, std::move(value));
}

qint32 Dictionary::WordCount(const QString& category) const {
    return LenientInt(ReadTalk(category, kPN));
}

qint32 Dictionary::TotalWordCount() const {
    qint64 total = 0;
    for (int i = 0; i < kCategoryCount; ++i)
        total += WordCount(CategoryName(i));
    return qint32(std::clamp<qint64>(total, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

QString Dictionary::GetRandomWord(const QString& category) const {
    const qint32 n = WordCount(category);
    return ReadTalk(category, qint32(std::floor(random_.Next() * n)) + 1);
}

bool Dictionary::AppendWord(const QString& category, const QString& word) const {
    const QString path = FilePath(category);
    if (path.isEmpty()) return false;
    const QString next = QString::number(qint64(WordCount(category)) + 1);
    // One write of the file: a count without its word would leave a gap that reads as "".
    return settings_.Ini().WriteKeys(path, category, {{kPN, next}, {next, word}});
}

} // namespace orvanel
