#include "documentcommands/RecentFiles.h"

#include "platform/SettingsStore.h"

namespace {

QString keyOf(int number)
{
    return QStringLiteral("File%1").arg(number);
}

} // namespace

QStringList RecentFiles::files() const
{
    QStringList files;
    for (int number = 1; number <= Limit; ++number) {
        const QString path = m_settings.readIn(Section, keyOf(number));
        if (!path.isEmpty() && !files.contains(path))
            files << path;
    }
    return files;
}

void RecentFiles::add(const QString& path)
{
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    store(list.mid(0, Limit));
}

void RecentFiles::remove(const QString& path)
{
    QStringList list = files();
    list.removeAll(path);
    store(list);
}

void RecentFiles::clear()
{
    store({});
}

void RecentFiles::store(const QStringList& files)
{
    for (int number = 1; number <= Limit; ++number) {
        if (number <= files.size())
            m_settings.writeIn(Section, keyOf(number), files.at(number - 1));
        else
            m_settings.removeIn(Section, keyOf(number));
    }
}
