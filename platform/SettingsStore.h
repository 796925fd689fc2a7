#pragma once

#include <QString>

// The per-user settings store, in sections: "Preferences" holds the five preferences (their
// keys and each reader's default are the document core's, core/Preferences.h); the recent
// files and the window's place have sections of their own, so that nothing else ever touches
// a preference. Every value is text and is kept exactly as given. Each reader passes its own
// default; nothing is cached.
class SettingsStore
{
public:
    static inline const QString PreferencesSection = QStringLiteral("Preferences");

    virtual ~SettingsStore() = default;

    QString read(const QString& key, const QString& defaultValue = QString()) const
    {
        return readIn(PreferencesSection, key, defaultValue);
    }
    void write(const QString& key, const QString& value)
    {
        writeIn(PreferencesSection, key, value);
    }

    virtual QString readIn(const QString& section, const QString& key,
                           const QString& defaultValue = QString()) const = 0;
    virtual void writeIn(const QString& section, const QString& key, const QString& value) = 0;
    virtual void removeIn(const QString& section, const QString& key) = 0;
    // Removes every value Tabulet keeps, in every section; removing when nothing is stored
    // does nothing.
    virtual void removeEverything() = 0;
};

// QSettings under application "Tabulet".
class QtSettingsStore final : public SettingsStore
{
public:
    QString readIn(const QString& section, const QString& key,
                   const QString& defaultValue = QString()) const override;
    void writeIn(const QString& section, const QString& key, const QString& value) override;
    void removeIn(const QString& section, const QString& key) override;
    void removeEverything() override;
};
