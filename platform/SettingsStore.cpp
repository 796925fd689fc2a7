#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString Application = QStringLiteral("Tabulet");

QString qualified(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

QString QtSettingsStore::readIn(const QString& section, const QString& key,
                                const QString& defaultValue) const
{
    const QSettings settings(Application, Application);
    return settings.value(qualified(section, key), defaultValue).toString();
}

void QtSettingsStore::writeIn(const QString& section, const QString& key, const QString& value)
{
    QSettings settings(Application, Application);
    settings.setValue(qualified(section, key), value);
}

void QtSettingsStore::removeIn(const QString& section, const QString& key)
{
    QSettings settings(Application, Application);
    settings.remove(qualified(section, key));
}

// Clearing leaves an empty settings file behind; the file, and its folder once empty, go too,
// so that nothing of Tabulet is left.
void QtSettingsStore::removeEverything()
{
    QString fileName;
    {
        QSettings settings(Application, Application);
        settings.clear();
        settings.sync();
        fileName = settings.fileName();
    }
    if (QFileInfo(fileName).isFile()) {
        QFile::remove(fileName);
        QDir().rmdir(QFileInfo(fileName).path());
    }
}
