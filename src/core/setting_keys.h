#pragma once

#include <QString>
#include <QStringView>

namespace orvanel {

// Every key of "tomu.ini", named as it stands in the file.
enum class SettingKey {
    OnTop,
    Hide,
    Silent,
    UpDate,
    Bold,
    Debug,
    TimerInterval,
    MsgDispLimit, // the three repaired keys in the order they are repaired
    TOMULimitTime,
    SkinFile,
    PositionX, // where she stood when the program last ended: pixels from her screen's left
    Screen,    // and the name of that screen
    Name1,
    Name2,
    Call,
    Scenario,
    IDRelation,
    // [Web]: the address patterns of the search panel's services ("{q}" the words encoded as
    // UTF-8, "{sjis}" in the system code page, "{raw}" as typed).
    Search,      // web search (mode 0, "ウェブ")
    ImageSearch, // image search (mode 1, "イメージ")
    ForumSearch, // discussion search (mode 2, "グループ")
    DicEnJa,     // dictionary 0 "英和"
    DicJaEn,     // dictionary 1 "和英"
    DicJa,       // dictionary 2 "国語"
    DicNew,      // dictionary 3 "新語"
    EnJaLookUp,  // the English–Japanese look-up that is read aloud
    EnJaStart,   // its markers around the meaning
    EnJaEnd,
    Archive, // the web archive
};
inline constexpr int kSettingKeyCount = int(SettingKey::Archive) + 1;

// How a stored text is read.
enum class SettingRule {
    Text,     // as stored
    Switch,   // "True"/"False": only the exact text opposite to the default changes it
    Positive, // a number; 0, negative or none reads as the default
    NonEmpty, // empty reads as the default
    DataFile, // a file in the program folder; empty or no such file reads as the default
};

struct SettingDef {
    QStringView section;
    QStringView key;
    QStringView fallback; // the default
    SettingRule rule;
    // A stored text that reads as the default is replaced by the default on disk when the
    // profile is loaded.
    bool repaired = false;
};

const SettingDef& Definition(SettingKey key);

// What a stored text reads as under the key's rule: switches as "True" or "False", numbers
// as decimal text. A data file name is not looked for here (see Settings::DataFile).
struct SettingValue {
    QString text;
    bool repair = false; // the file should have `text` written back
};
SettingValue Normalize(SettingKey key, const QString& stored);

QString BoolText(bool value);

} // namespace orvanel
