#pragma once

#include <QString>

// The per-user store of the five preferences. Every value is text and is kept exactly as
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

// The preference keys, as they are stored.
namespace PreferenceKey {
inline const QString WrkDir = QStringLiteral("WrkDir");
inline const QString AsciiHeader = QStringLiteral("ASCII Header");
inline const QString AsciiText = QStringLiteral("ASCII Text");
inline const QString DefaultFont = QStringLiteral("Default Font");
inline const QString DefaultFontSize = QStringLiteral("Default Font Size");
} // namespace PreferenceKey

// QSettings under application "Tabulet", section "Preferences".
class QtSettingsStore final : public SettingsStore
{
public:
    QString read(const QString& key, const QString& defaultValue = QString()) const override;
    void write(const QString& key, const QString& value) override;
    void deleteSection() override;
};
