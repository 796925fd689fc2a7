#pragma once

#include "platform/SettingsStore.h"

#include <QMap>
#include <QStringList>

// Settings held in memory, each value under "section/key", recording every write in order:
// preferences by their key alone, values of other sections as "section/key".
class MemorySettingsStore final : public SettingsStore
{
public:
    QString readIn(const QString& section, const QString& key,
                   const QString& defaultValue = QString()) const override
    {
        return m_values.value(qualified(section, key), defaultValue);
    }
    void writeIn(const QString& section, const QString& key, const QString& value) override
    {
        m_values.insert(qualified(section, key), value);
        writes << (section == PreferencesSection ? key : qualified(section, key));
    }
    void removeIn(const QString& section, const QString& key) override
    {
        m_values.remove(qualified(section, key));
    }
    void removeEverything() override { m_values.clear(); }

    bool isEmpty() const { return m_values.isEmpty(); }
    QStringList writes;

private:
    static QString qualified(const QString& section, const QString& key)
    {
        return section + QLatin1Char('/') + key;
    }
    QMap<QString, QString> m_values;
};
