#pragma once

#include <QString>

namespace orvanel {

class Settings;

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

// Reads the profile and repairs missing values, writing the defaults back.
void LoadUserInfo(const Settings& settings, Profile& profile);

// Writes the names from the first-start window and resets the two intervals.
void SaveUserInfo(const Settings& settings, const QString& name1, const QString& name2,
                  const QString& call);

// The switches read at start-up: only "False" turns OnTop off; only "True" turns the others on.
bool ReadOnTop(const Settings& settings);
bool ReadTrueSwitch(const Settings& settings, const QString& key);
// TimerInterval in ms; 0, negative, empty or not a number gives 50.
qint32 ReadTimerInterval(const Settings& settings);

QString BoolText(bool value);

} // namespace orvanel
