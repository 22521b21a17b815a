#include "platform/desktop/SettingsStore.h"

#include <QSettings>
#include <memory>

#include "platform/desktop/ApplicationTitle.h"

namespace {

std::unique_ptr<QSettings> OpenSettings(const QString& iniFile) {
    if (!iniFile.isEmpty()) return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromUtf8(kApplicationTitle));
}

QString KeyPath(const QString& section, const QString& key) {
    return section + '/' + key;
}

}  // namespace

QtSettingsStore::QtSettingsStore() = default;

QtSettingsStore::QtSettingsStore(const QString& iniFile) : iniFile_(iniFile) {}

QString QtSettingsStore::GetSetting(const QString& section, const QString& key,
                                    const QString& defaultValue) const {
    return OpenSettings(iniFile_)->value(KeyPath(section, key), defaultValue).toString();
}

void QtSettingsStore::SaveSetting(const QString& section, const QString& key,
                                  const QString& value) {
    // Each value goes to disk at once, so that another running copy and the next run see it.
    const std::unique_ptr<QSettings> settings = OpenSettings(iniFile_);
    settings->setValue(KeyPath(section, key), value);
    settings->sync();
}
