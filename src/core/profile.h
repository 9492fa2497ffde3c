#pragma once

#include <QString>

namespace orvanel {

class Settings;
class TraceLog;

// The user's profile as the rest of the program reads it, filled by LoadUserInfo.
struct Profile {
    QString name1;    // family name
    QString name2;    // given name
    QString fullName; // name1 immediately followed by name2
    QString callName; // how the characters address the user; empty on the first start
    qint32 TOMULimitTime = 3000;
    qint32 MsgDispLimit = 300;
    QString skinFile = QStringLiteral("kanami.skn");
};

// Reads the profile by the settings' rules and writes nothing.
void ReadUserInfo(const Settings& settings, Profile& profile);

// ReadUserInfo, then writes the defaults back over what had to be repaired. A repair that
// cannot be written is traced; the profile holds the default all the same. False then.
bool LoadUserInfo(const Settings& settings, Profile& profile, TraceLog& log);

// Writes the names from the first-start window and resets the two intervals. False when any
// of it could not be written.
[[nodiscard]] bool SaveUserInfo(const Settings& settings, const QString& name1,
                                const QString& name2, const QString& call);

} // namespace orvanel
