#include "script/script_variables.h"

#include "core/app_context.h"
#include "core/version_info.h"
#include "platform/random.h"
#include "script/scenario_files.h"
#include "script/script_probes.h"
#include "script/word_source.h"

#include <array>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

enum Simple {
    kYear,
    kMonth,
    kDay,
    kHour,
    kMinute,
    kSecond,
    kUserName,
    kSelfName,
    kSelfName2,
    kKeroName,
    kSelfCall,
    kScreenWidth,
    kScreenHeight,
    kExh,
    kEt,
    kMAvail,
    kSimpleCount
};

constexpr std::array<const char16_t*, kSimpleCount> kSimpleNames = {
    u"year",         u"month",    u"day",       u"hour",     u"minute",   u"second",
    u"username",     u"selfname", u"selfname2", u"keroname", u"selfcall", u"screenwidth",
    u"screenheight", u"exh",      u"et",        u"m_avail"};

// Where a word variable's new word comes from.
enum class Source { Word, Literal, OneOf, Decorated };

struct WordVariable {
    const char16_t* code;
    Source source;
    std::array<const char16_t*, 3> categories; // the category, or the literal word
};

constexpr WordVariable kWordVariables[] = {
    {u"ms", Source::Word, {u"人物"}},
    {u"mz", Source::Literal, {u"商品"}},
    {u"ml", Source::Word, {u"団体"}},
    {u"mc", Source::Word, {u"会社"}},
    {u"mh", Source::Word, {u"会社"}},
    {u"mt", Source::Word, {u"魔法"}},
    {u"me", Source::OneOf, {u"食べ物", u"飲み物", u"食材"}},
    {u"mp", Source::Word, {u"場所"}},
    {u"m？", Source::OneOf, {u"食べ物", u"人物", u"商品"}},
    {u"dms", Source::Decorated, {u"人物"}},
    {u"vs", Source::Word, {u"動詞(単純)"}},
    {u"vp", Source::Word, {u"動詞(過去)"}},
    {u"dn", Source::Word, {u"日時(現在)"}},
    {u"dp", Source::Word, {u"日時(過去)"}},
    {u"gd", Source::Word, {u"商品"}},
    {u"am", Source::Word, {u"動物"}},
    {u"bd", Source::Word, {u"体"}},
    {u"jb", Source::Word, {u"職業"}},
    {u"gm", Source::Word, {u"ゲーム"}},
    {u"fd", Source::Word, {u"食べ物"}},
    {u"st", Source::Word, {u"状態"}},
    {u"gp", Source::Word, {u"団体"}},
    {u"mg", Source::Word, {u"魔法"}},
    {u"lw", Source::Word, {u"法律"}},
    {u"cr", Source::Word, {u"犯罪"}},
    {u"pn", Source::Word, {u"刑罰"}},
    {u"hp", Source::Word, {u"ホームページ"}},
    {u"ad", Source::Word, {u"アドレス"}},
    {u"ch", Source::Word, {u"キャラ"}},
    {u"ev", Source::Word, {u"文末(動詞)"}},
    {u"en", Source::Word, {u"文末(名詞)"}},
    {u"ht", Source::Word, {u"HPタイプ"}},
    {u"sf", Source::Word, {u"ソフト"}},
    {u"fn", Source::Word, {u"機能"}},
    {u"wt", Source::Word, {u"天気"}},
    {u"mx", Source::Word, {u"格言"}},
    {u"cm", Source::Word, {u"マンガ"}},
    {u"tp", Source::Word, {u"まめ知識"}},
    {u"qt", Source::Word, {u"疑問"}},
    {u"vr", Source::Word, {u"ウイルス"}},
    {u"fm", Source::Word, {u"家族"}},
    {u"ic", Source::Word, {u"事件"}},
};
static_assert(std::size(kWordVariables) == 42);

} // namespace

QString KilobyteText(quint64 bytes) {
    QString digits = QString::number(bytes / 1024);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return digits + u"KB"_s;
}

ScriptVariables::ScriptVariables(AppContext& ctx, WordSource& words, ScenarioFiles& scenario,
                                 ScriptProbes& probes)
    : ctx_(ctx), words_(words), scenario_(scenario), probes_(probes) {}

std::optional<ScriptVariables::Expansion>
ScriptVariables::Expand(QStringView text,
                        const std::function<qsizetype(qsizetype from)>& findClose) {
    const QStringView name = text.mid(1);
    // The longest name wins, so "%selfname2" is never "%selfname" followed by "2".
    int simple = -1;
    int word = -1;
    qsizetype best = 0;
    for (int i = 0; i < kSimpleCount; ++i) {
        const QStringView n(kSimpleNames[i]);
        if (n.size() > best && name.startsWith(n)) {
            simple = i;
            best = n.size();
        }
    }
    for (int i = 0; i < int(std::size(kWordVariables)); ++i) {
        const QStringView n(kWordVariables[i].code);
        if (n.size() > best && name.startsWith(n)) {
            simple = -1;
            word = i;
            best = n.size();
        }
    }
    if (simple >= 0) return Expansion{1 + best, SimpleValue(simple)};
    if (word >= 0) {
        const QString code = QStringView(kWordVariables[word].code).toString();
        const QChar next = name.size() > best ? name[best] : QChar();
        if (next == u'1') return Expansion{2 + best, memory_.value(code).last};
        if (next == u'2') return Expansion{2 + best, memory_.value(code).previous};
        const QString value = DrawWord(word);
        Memory& m = memory_[code];
        m.previous = std::exchange(m.last, value);
        return Expansion{1 + best, value};
    }
    if (name.startsWith(u"rs[")) {
        const qsizetype close = findClose(4) - 1;
        if (close < 0) return std::nullopt; // no key: the text stays as it is
        const QString key = name.mid(3, close - 3).toString();
        return Expansion{1 + close + 1, scenario_.ScenarioText(key)};
    }
    return std::nullopt;
}

QString ScriptVariables::SimpleValue(int index) {
    const QDateTime now = ctx_.clock.Now();
    switch (index) {
    case kYear:
        return QString::number(now.date().year());
    case kMonth:
        return QString::number(now.date().month());
    case kDay:
        return QString::number(now.date().day());
    case kHour:
        return QString::number(now.time().hour());
    case kMinute:
        return QString::number(now.time().minute());
    case kSecond:
        return QString::number(now.time().second());
    case kUserName:
        return ctx_.profile.callName;
    case kSelfName:
        return probes_.SelfName();
    case kSelfName2:
        return words_.GetRandomWord(u"キャラ"_s);
    case kKeroName:
        return probes_.FellowName();
    case kSelfCall:
        return probes_.SelfCall();
    case kScreenWidth:
        return QString::number(probes_.ScreenWidthTwips());
    case kScreenHeight:
        return QString::number(probes_.ScreenHeightTwips());
    // Whole hours since the machine started, however long that is.
    case kExh:
        return QString::number(probes_.SystemUptimeMs() / 3'600'000);
    case kEt:
        return UptimeText(ctx_.flags.startTick, ctx_.clock.TickCount());
    case kMAvail:
        return KilobyteText(probes_.FreeMemoryBytes());
    }
    return {};
}

QString ScriptVariables::DrawWord(int index) {
    const WordVariable& v = kWordVariables[index];
    switch (v.source) {
    case Source::Word:
        return words_.GetWord(QStringView(v.categories[0]).toString());
    case Source::Literal:
        return QStringView(v.categories[0]).toString();
    case Source::OneOf:
        return words_.GetWord(
            QStringView(v.categories[qBound(1, ctx_.random.Pick(3), 3) - 1]).toString());
    case Source::Decorated:
        return words_.DecorateWord(QStringView(v.categories[0]).toString());
    }
    return {};
}

} // namespace orvanel
