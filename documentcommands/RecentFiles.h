#pragma once

#include <QStringList>

class SettingsStore;

// The files last opened or saved, newest first, kept in the settings store under a section of
// their own as "File1" to "File8". The list is read from the store each time, so that every
// window and every run sees the same list.
class RecentFiles
{
public:
    static constexpr int Limit = 8;
    static inline const QString Section = QStringLiteral("Recent Files");

    explicit RecentFiles(SettingsStore& settings) : m_settings(settings) {}

    QStringList files() const;
    // Puts the file first; a file already listed moves up rather than being listed twice.
    void add(const QString& path);
    void remove(const QString& path);
    void clear();

private:
    void store(const QStringList& files);

    SettingsStore& m_settings;
};
