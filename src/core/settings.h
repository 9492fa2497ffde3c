#pragma once

#include <QString>

#include <optional>

namespace orvanel {

class IniStore;

// "tomu.ini" and INI access relative to the program folder. Every path argument may be
// written with "\" and relative names are taken from the program folder.
class Settings {
public:
    Settings(IniStore& ini, QString programFolder);

    // The program folder, native, always ending in "/".
    const QString& AppFolder() const { return folder_; }
    QString AppFolderNoSlash() const { return folder_.chopped(1); }
    // AppFolder() + relative, with "\" mapped and names resolved case-insensitively.
    QString FilePath(const QString& relative) const;

    QString ReadSetting(const QString& section, const QString& key) const;
    // A null value deletes the key.
    bool WriteSetting(const QString& section, const QString& key,
                      std::optional<QString> value) const;

    QString ReadIni(const QString& file, const QString& section, const QString& key) const;
    bool WriteIni(const QString& file, const QString& section, const QString& key,
                  std::optional<QString> value) const;

    IniStore& Ini() const { return ini_; }
    QString SettingsFile() const { return folder_ + QStringLiteral("tomu.ini"); }

private:
    IniStore& ini_;
    QString folder_;
};

} // namespace orvanel
