#pragma once

#include "core/setting_keys.h"

#include <QString>

#include <optional>

namespace orvanel {

class IniStore;

// "tomu.ini" and INI access relative to the program folder. Every path argument may be
// written with "\" and relative names are taken from the program folder. The keys of
// "tomu.ini" are only reached through SettingKey, so each is read by its one rule.
class Settings {
public:
    Settings(IniStore& ini, QString programFolder);

    // The program folder, native, always ending in "/".
    const QString& AppFolder() const { return folder_; }
    QString AppFolderNoSlash() const { return folder_.chopped(1); }
    // AppFolder() + relative, with "\" mapped and names resolved case-insensitively.
    QString FilePath(const QString& relative) const;

    // The text as stored, "" when missing (what the options window shows).
    QString ReadSetting(SettingKey key) const;
    // The stored text read by the key's rule; nothing is written.
    SettingValue Value(SettingKey key) const { return Normalize(key, ReadSetting(key)); }
    bool Switch(SettingKey key) const { return Value(key).text == u"True"; }
    qint32 Number(SettingKey key) const;
    QString Text(SettingKey key) const { return Value(key).text; }
    // The full path of a data file key: the default when the named file does not exist.
    QString DataFile(SettingKey key) const;

    // A null value deletes the key. False when the file could not be written.
    [[nodiscard]] bool WriteSetting(SettingKey key, std::optional<QString> value) const;
    [[nodiscard]] bool WriteSwitch(SettingKey key, bool on) const {
        return WriteSetting(key, BoolText(on));
    }

    QString ReadIni(const QString& file, const QString& section, const QString& key) const;
    [[nodiscard]] bool WriteIni(const QString& file, const QString& section, const QString& key,
                                std::optional<QString> value) const;

    IniStore& Ini() const { return ini_; }
    QString SettingsFile() const { return folder_ + QStringLiteral("tomu.ini"); }

private:
    IniStore& ini_;
    QString folder_;
};

// "tomu.ini [General] OnTop", for trace lines.
QString SettingName(SettingKey key);

} // namespace orvanel
