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
    {u"General", u"MsgDispLimit", u"300", NonZero, true},
    {u"General", u"TOMULimitTime", u"3000", NonZero, true},
    {u"General", u"SkinFile", u"kanami.skn", NonEmpty, true},
    {u"User", u"Name1", u"", Text},
    {u"User", u"Name2", u"", Text},
    {u"User", u"Call", u"", Text},
    {u"Script", u"Scenario", u"Scenario.dat", DataFile},
    {u"Script", u"IDRelation", u"Str2ID.dat", DataFile},
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
    case Positive:
    case NonZero: {
        const qint32 n = LenientInt(stored);
        useDefault = def.rule == Positive ? n <= 0 : n == 0;
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
