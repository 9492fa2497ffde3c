#include "core/settings.h"

#include "platform/ini_file.h"
#include "platform/numbers.h"
#include "platform/paths.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

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

QString Settings::ReadSetting(SettingKey key) const {
    if (const auto it = unsaved_.constFind(key); it != unsaved_.constEnd())
        return it->value_or(QString());
    const SettingDef& def = Definition(key);
    return ini_.Read(SettingsFile(), def.section, def.key);
}

qint32 Settings::Number(SettingKey key) const {
    return LenientInt(Text(key));
}

QString Settings::DataFile(SettingKey key) const {
    const QString path = FilePath(Text(key));
    return QFileInfo(path).isFile() ? path : FilePath(Definition(key).fallback.toString());
}

bool Settings::WriteSetting(SettingKey key, std::optional<QString> value) const {
    const SettingDef& def = Definition(key);
    if (ini_.Write(SettingsFile(), def.section, def.key,
                   value ? std::optional<QStringView>(*value) : std::nullopt)) {
        unsaved_.remove(key);
        return true;
    }
    unsaved_.insert(key, std::move(value));
    if (!failureReported_) {
        failureReported_ = true;
        if (onWriteFailure_) onWriteFailure_(SettingsFile());
    }
    return false;
}

QString Settings::ReadIni(const QString& file, const QString& section, const QString& key) const {
    return ini_.Read(file, section, key);
}

bool Settings::WriteIni(const QString& file, const QString& section, const QString& key,
                        std::optional<QString> value) const {
    return ini_.Write(file, section, key,
                      value ? std::optional<QStringView>(*value) : std::nullopt);
}

QString SettingName(SettingKey key) {
    const SettingDef& def = Definition(key);
    return u"tomu.ini [%1] %2"_s.arg(def.section, def.key);
}

} // namespace orvanel
