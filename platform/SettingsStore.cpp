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
    keep(settings);
}

void QtSettingsStore::removeIn(const QString& section, const QString& key)
{
    QSettings settings(Application, Application);
    settings.remove(qualified(section, key));
    keep(settings);
}

// QSettings writes when it is destroyed and says nothing of a failure; written now, it tells.
void QtSettingsStore::keep(QSettings& settings)
{
    settings.sync();
    if (settings.status() == QSettings::NoError || m_reported)
        return;
    m_reported = true;
    if (m_report)
        m_report(settings.fileName());
}

// Clearing leaves an empty settings file behind; the file, and its folder once empty, go too,
// so that nothing of Tabulet is left.
void QtSettingsStore::removeEverything()
{
    QString fileName;
    {
        QSettings settings(Application, Application);
        settings.clear();
        keep(settings);
        fileName = settings.fileName();
    }
    if (QFileInfo(fileName).isFile()) {
        QFile::remove(fileName);
        QDir().rmdir(QFileInfo(fileName).path());
    }
}
