#pragma once

#include <QString>

// The per-user settings store. The keys and each reader's default are the document core's
// (core/Preferences.h). Every value is text and is kept exactly as
// given. Each reader passes its own default; nothing is cached.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString read(const QString& key, const QString& defaultValue = QString()) const = 0;
    virtual void write(const QString& key, const QString& value) = 0;
    // Removes every preference; removing when nothing is stored does nothing.
    virtual void deleteSection() = 0;
};

// QSettings under application "Tabulet", section "Preferences".
class QtSettingsStore final : public SettingsStore
{
public:
    QString read(const QString& key, const QString& defaultValue = QString()) const override;
    void write(const QString& key, const QString& value) override;
    void deleteSection() override;
};
