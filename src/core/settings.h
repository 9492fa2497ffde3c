#pragma once

#include "core/setting_keys.h"

#include <QMap>
#include <QString>

#include <functional>
#include <optional>

namespace orvanel {

class IniStore;

// "tomu.ini" and INI access relative to the program folder. Every path argument may be
// written with "\" and relative names are taken from the program folder. The keys of
// "tomu.ini" are only reached through SettingKey, so each is read by its one rule.
//
// A setting that cannot be written (a read-only file or folder, a full disk) is kept in
// memory for the rest of the run, so the program goes on with what the user set; the first
// such failure of a run is reported to the write-failure handler.
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

    // A null value deletes the key. False when the file could not be written; the value is
    // then read from memory until a later write of the key gets through.
    [[nodiscard]] bool WriteSetting(SettingKey key, std::optional<QString> value) const;
    [[nodiscard]] bool WriteSwitch(SettingKey key, bool on) const {
        return WriteSetting(key, BoolText(on));
    }

    QString ReadIni(const QString& file, const QString& section, const QString& key) const;
    [[nodiscard]] bool WriteIni(const QString& file, const QString& section, const QString& key,
                                std::optional<QString> value) const;

    IniStore& Ini() const { return ini_; }
    QString SettingsFile() const { return folder_ + QStringLiteral("tomu.ini"); }

    // Called with SettingsFile() at the first setting of the run that cannot be written.
    void OnWriteFailure(std::function<void(const QString& file)> handler) {
        onWriteFailure_ = std::move(handler);
    }
    // Whether some setting of this run lives only in memory.
    bool HasUnsaved() const { return !unsaved_.isEmpty(); }

private:
    IniStore& ini_;
    QString folder_;
    mutable QMap<SettingKey, std::optional<QString>> unsaved_;
    mutable bool failureReported_ = false;
    std::function<void(const QString&)> onWriteFailure_;
};

// "tomu.ini [General] OnTop", for trace lines.
QString SettingName(SettingKey key);

} // namespace orvanel
