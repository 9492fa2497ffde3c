#include "core/setting_keys.h"

#include "platform/numbers.h"

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

using enum SettingRule;

constexpr SettingDef kSettings[kSettingKeyCount] = {
    {u"General", u"OnTop", u"True", Switch},
    {u"General", u"Hide", u"False", Switch},
    {u"General", u"Silent", u"False", Switch},
    {u"General", u"UpDate", u"False", Switch}, // written "True" by the updater, deleted when read
    {u"General", u"Bold", u"False", Switch},
    {u"General", u"Debug", u"False", Switch},
    {u"General", u"TimerInterval", u"50", Positive},
    // A negative display time would keep every balloon open, a negative interval would
    // murmur at every tick: both read, and are repaired, as their defaults.
    {u"General", u"MsgDispLimit", u"300", Positive, true},
    {u"General", u"TOMULimitTime", u"3000", Positive, true},
    {u"General", u"SkinFile", u"kanami.skn", NonEmpty, true},
    {u"General", u"PositionX", u"", Text},
    {u"General", u"Screen", u"", Text},
    {u"User", u"Name1", u"", Text},
    {u"User", u"Name2", u"", Text},
    {u"User", u"Call", u"", Text},
    {u"Script", u"Scenario", u"Scenario.dat", DataFile},
    {u"Script", u"IDRelation", u"Str2ID.dat", DataFile},
    // Each a live service: the engine the panel names for the three search modes (its forum
    // filter stands in for the closed discussion-group search), a Japanese dictionary site for
    // goo's four dictionaries (with a new-words encyclopaedia for "新語"), its
    // English–Japanese pages for the look-up read aloud, and the web archive. They all expect
    // UTF-8 queries.
    {u"Web", u"Search", u"https://www.google.com/search?q={q}&hl=ja&lr=", NonEmpty},
    {u"Web", u"ImageSearch", u"https://www.google.com/search?q={q}&hl=ja&tbm=isch", NonEmpty},
    {u"Web", u"ForumSearch", u"https://www.google.com/search?q={q}&hl=ja&udm=18", NonEmpty},
    {u"Web", u"DicEnJa", u"https://ejje.weblio.jp/content/{q}", NonEmpty},
    {u"Web", u"DicJaEn", u"https://ejje.weblio.jp/content/{q}", NonEmpty},
    {u"Web", u"DicJa", u"https://www.weblio.jp/content/{q}", NonEmpty},
    {u"Web", u"DicNew", u"https://kotobank.jp/search?q={q}", NonEmpty},
    {u"Web", u"EnJaLookUp", u"https://ejje.weblio.jp/content/{q}", NonEmpty},
    {u"Web", u"EnJaStart", u"class=\"content-explanation ej\">", NonEmpty},
    {u"Web", u"EnJaEnd", u"</td>", NonEmpty},
    {u"Web", u"Archive", u"https://web.archive.org/web/*/{raw}", NonEmpty},
};

} // namespace

const SettingDef& Definition(SettingKey key) {
    return kSettings[int(key)];
}

SettingValue Normalize(SettingKey key, const QString& stored) {
    const SettingDef& def = Definition(key);
    bool useDefault = false;
    QString text = stored;
    switch (def.rule) {
    case Text:
        break;
    case Switch:
        useDefault = stored != BoolText(def.fallback != u"True");
        break;
    case Positive: {
        const qint32 n = LenientInt(stored);
        useDefault = n <= 0;
        text = QString::number(n);
        break;
    }
    case NonEmpty:
    case DataFile:
        useDefault = stored.isEmpty();
        break;
    }
    if (!useDefault) return {text, false};
    return {def.fallback.toString(), def.repaired};
}

QString BoolText(bool value) {
    return value ? u"True"_s : u"False"_s;
}

} // namespace orvanel
