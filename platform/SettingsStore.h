#pragma once

#include <QString>
#include <functional>

class QSettings;

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

// QSettings under application "Tabulet". A value that cannot be kept (a configuration folder
// that is read-only, full, or a file) is reported once; the program goes on without it.
class QtSettingsStore final : public SettingsStore
{
public:
    // Told the settings file's name the first time a change of it cannot be written.
    using FailureReport = std::function<void(const QString& fileName)>;
    void setFailureReport(FailureReport report) { m_report = std::move(report); }

    QString readIn(const QString& section, const QString& key,
                   const QString& defaultValue = QString()) const override;
    void writeIn(const QString& section, const QString& key, const QString& value) override;
    void removeIn(const QString& section, const QString& key) override;
    void removeEverything() override;

private:
    void keep(QSettings& settings);

    FailureReport m_report;
    bool m_reported = false;
};
