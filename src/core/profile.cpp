#include "core/profile.h"

#include "core/settings.h"
#include "platform/numbers.h"

namespace orvanel {
namespace {
const QString kGeneral = QStringLiteral("General");
const QString kUser = QStringLiteral("User");
} // namespace

void LoadUserInfo(const Settings& settings, Profile& p) {
    p.name1 = settings.ReadSetting(kUser, QStringLiteral("Name1"));
    p.name2 = settings.ReadSetting(kUser, QStringLiteral("Name2"));
    p.fullName = p.name1 + p.name2;
    p.callName = settings.ReadSetting(kUser, QStringLiteral("Call"));
    p.TOMULimitTime = LenientInt(settings.ReadSetting(kGeneral, QStringLiteral("TOMULimitTime")));
    p.MsgDispLimit = LenientInt(settings.ReadSetting(kGeneral, QStringLiteral("MsgDispLimit")));
    p.skinFile = settings.ReadSetting(kGeneral, QStringLiteral("SkinFile"));
    if (p.MsgDispLimit == 0) {
        settings.WriteSetting(kGeneral, QStringLiteral("MsgDispLimit"), QStringLiteral("300"));
        p.MsgDispLimit = 300;
    }
    if (p.TOMULimitTime == 0) {
        settings.WriteSetting(kGeneral, QStringLiteral("TOMULimitTime"), QStringLiteral("3000"));
        p.TOMULimitTime = 3000;
    }
    if (p.skinFile.isEmpty()) {
        settings.WriteSetting(kGeneral, QStringLiteral("SkinFile"), QStringLiteral("kanami.skn"));
        p.skinFile = QStringLiteral("kanami.skn");
    }
}

void SaveUserInfo(const Settings& settings, const QString& name1, const QString& name2,
                  const QString& call) {
    settings.WriteSetting(kUser, QStringLiteral("Name1"), name1);
    settings.WriteSetting(kUser, QStringLiteral("Name2"), name2);
    settings.WriteSetting(kUser, QStringLiteral("Call"), call);
    settings.WriteSetting(kGeneral, QStringLiteral("MsgDispLimit"), QStringLiteral("300"));
    settings.WriteSetting(kGeneral, QStringLiteral("TOMULimitTime"), QStringLiteral("3000"));
}

bool ReadOnTop(const Settings& settings) {
    return settings.ReadSetting(kGeneral, QStringLiteral("OnTop")) != u"False";
}

bool ReadTrueSwitch(const Settings& settings, const QString& key) {
    return settings.ReadSetting(kGeneral, key) == u"True";
}

qint32 ReadTimerInterval(const Settings& settings) {
    const qint32 v = LenientInt(settings.ReadSetting(kGeneral, QStringLiteral("TimerInterval")));
    // A negative interval would step without pause; it gets the default too.
    return v <= 0 ? 50 : v;
}

QString BoolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace orvanel
