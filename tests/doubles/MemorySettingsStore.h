#pragma once

#include "platform/SettingsStore.h"

#include <QMap>
#include <QStringList>

// Preferences held in memory, recording every write in order.
class MemorySettingsStore final : public SettingsStore
{
public:
    QString read(const QString& key, const QString& defaultValue = QString()) const override
    {
        return m_values.value(key, defaultValue);
    }
    void write(const QString& key, const QString& value) override
    {
        m_values.insert(key, value);
        writes << key;
    }
    void deleteSection() override { m_values.clear(); }

    bool contains(const QString& key) const { return m_values.contains(key); }
    QStringList writes;

private:
    QMap<QString, QString> m_values;
};
