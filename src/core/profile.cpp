#include "core/profile.h"

#include "core/settings.h"
#include "platform/numbers.h"

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {
const QString kGeneral = u"General"_s;
const QString kUser = u"User"_s;
} // namespace

void LoadUserInfo(const Settings& settings, Profile& p) {
    p.name1 = settings.ReadSetting(kUser, u"Name1"_s);
    p.name2 = settings.ReadSetting(kUser, u"Name2"_s);
    p.fullName = p.name1 + p.name2;
    p.callName = settings.ReadSetting(kUser, u"Call"_s);
    p.TOMULimitTime = LenientInt(settings.ReadSetting(kGeneral, u"TOMULimitTime"_s));
    p.MsgDispLimit = LenientInt(settings.ReadSetting(kGeneral, u"MsgDispLimit"_s));
    p.skinFile = settings.ReadSetting(kGeneral, u"SkinFile"_s);
    if (p.MsgDispLimit == 0) {
        settings.WriteSetting(kGeneral, u"MsgDispLimit"_s, u"300"_s);
        p.MsgDispLimit = 300;
    }
    if (p.TOMULimitTime == 0) {
        settings.WriteSetting(kGeneral, u"TOMULimitTime"_s, u"3000"_s);
        p.TOMULimitTime = 3000;
    }
    if (p.skinFile.isEmpty()) {
        settings.WriteSetting(kGeneral, u"SkinFile"_s, u"kanami.skn"_s);
        p.skinFile = u"kanami.skn"_s;
    }
}

void SaveUserInfo(const Settings& settings, const QString& name1, const QString& name2,
                  const QString& call) {
    settings.WriteSetting(kUser, u"Name1"_s, name1);
    settings.WriteSetting(kUser, u"Name2"_s, name2);
    settings.WriteSetting(kUser, u"Call"_s, call);
    settings.WriteSetting(kGeneral, u"MsgDispLimit"_s, u"300"_s);
    settings.WriteSetting(kGeneral, u"TOMULimitTime"_s, u"3000"_s);
}

bool ReadOnTop(const Settings& settings) {
    return settings.ReadSetting(kGeneral, u"OnTop"_s) != u"False";
}

bool ReadTrueSwitch(const Settings& settings, const QString& key) {
    return settings.ReadSetting(kGeneral, key) == u"True";
}

qint32 ReadTimerInterval(const Settings& settings) {
    const qint32 v = LenientInt(settings.ReadSetting(kGeneral, u"TimerInterval"_s));
    // A negative interval would step without pause; it gets the default too.
    return v <= 0 ? 50 : v;
}

QString BoolText(bool value) {
    return value ? u"True"_s : u"False"_s;
}

} // namespace orvanel
