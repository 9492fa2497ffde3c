#include "core/settings.h"

#include "platform/ini_file.h"
#include "platform/paths.h"

namespace orvanel {

Settings::Settings(IniStore& ini, QString programFolder)
    : ini_(ini), folder_(std::move(programFolder)) {
    if (!folder_.endsWith(u'/')) folder_ += u'/';
}

QString Settings::FilePath(const QString& relative) const {
    QString r = relative;
    r.replace(u'\\', u'/');
    while (r.startsWith(u'/'))
        r.remove(0, 1);
    return NativePath(folder_ + r);
}

QString Settings::ReadSetting(const QString& section, const QString& key) const {
    return ini_.Read(SettingsFile(), section, key);
}

bool Settings::WriteSetting(const QString& section, const QString& key,
                            std::optional<QString> value) const {
    return ini_.Write(SettingsFile(), section, key,
                      value ? std::optional<QStringView>(*value) : std::nullopt);
}

QString Settings::ReadIni(const QString& file, const QString& section, const QString& key) const {
    return ini_.Read(file, section, key);
}

bool Settings::WriteIni(const QString& file, const QString& section, const QString& key,
                        std::optional<QString> value) const {
    return ini_.Write(file, section, key,
                      value ? std::optional<QStringView>(*value) : std::nullopt);
}

} // namespace orvanel
