#pragma once

#include <QString>

// The per-user settings store, keyed by section and key under the application's title. Tests
// replace it so that they never touch the user's real settings.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value, or defaultValue when nothing is stored.
    virtual QString GetSetting(const QString& section, const QString& key,
                               const QString& defaultValue) const = 0;
    // Replaces the stored value. A store that cannot be written keeps what it had.
    virtual void SaveSetting(const QString& section, const QString& key, const QString& value) = 0;
};

// The user's settings, kept by QSettings under the application's title.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    // The same, kept in the given INI file instead.
    explicit QtSettingsStore(const QString& iniFile);

    QString GetSetting(const QString& section, const QString& key,
                       const QString& defaultValue) const override;
    void SaveSetting(const QString& section, const QString& key, const QString& value) override;

private:
    QString iniFile_;  // empty: the platform's own place for the user's settings
};
