#include "platform/SettingsStore.h"

#include <QSettings>

namespace {

const QString Application = QStringLiteral("Tabulet");
const QString Section = QStringLiteral("Preferences");

QString qualified(const QString& key)
{
    return Section + QLatin1Char('/') + key;
}

} // namespace

QString QtSettingsStore::read(const QString& key, const QString& defaultValue) const
{
    const QSettings settings(Application, Application);
    return settings.value(qualified(key), defaultValue).toString();
}

void QtSettingsStore::write(const QString& key, const QString& value)
{
    QSettings settings(Application, Application);
    settings.setValue(qualified(key), value);
}

void QtSettingsStore::deleteSection()
{
    QSettings settings(Application, Application);
    settings.remove(Section);
}
