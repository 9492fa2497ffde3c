#include "core/profile.h"

#include "core/settings.h"
#include "tools/trace_log.h"

using namespace Qt::StringLiterals;

namespace orvanel {
void ReadUserInfo(const Settings& settings, Profile& p) {
    p.name1 = settings.Text(SettingKey::Name1);
    p.name2 = settings.Text(SettingKey::Name2);
    p.fullName = p.name1 + p.name2;
    p.callName = settings.Text(SettingKey::Call);
    p.TOMULimitTime = settings.Number(SettingKey::TOMULimitTime);
    p.MsgDispLimit = settings.Number(SettingKey::MsgDispLimit);
    p.skinFile = settings.Text(SettingKey::SkinFile);
}

bool LoadUserInfo(const Settings& settings, Profile& profile, TraceLog& log) {
    ReadUserInfo(settings, profile);
    bool ok = true;
    for (int k = 0; k < kSettingKeyCount; ++k) {
        const auto key = SettingKey(k);
        const SettingValue v = settings.Value(key);
        if (v.repair && !settings.WriteSetting(key, v.text)) {
            log.LogLine(u"Write failed: "_s + SettingName(key));
            ok = false;
        }
    }
    return ok;
}

bool SaveUserInfo(const Settings& settings, const QString& name1, const QString& name2,
                  const QString& call) {
    bool ok = settings.WriteSetting(SettingKey::Name1, name1);
    ok = settings.WriteSetting(SettingKey::Name2, name2) && ok;
    ok = settings.WriteSetting(SettingKey::Call, call) && ok;
    for (const SettingKey key : {SettingKey::MsgDispLimit, SettingKey::TOMULimitTime})
        ok = settings.WriteSetting(key, Definition(key).fallback.toString()) && ok;
    return ok;
}

} // namespace orvanel
