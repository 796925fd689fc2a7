#include "dialogs/UserGuide.h"

#include <QDir>
#include <QFileInfo>

QString userGuidePath(const QString& programFolder)
{
    const QDir folder(programFolder);
    for (const char* relative : {"../share/doc/tabulet/help.html", "../docs/help.html"}) {
        const QFileInfo guide(folder.filePath(QLatin1String(relative)));
        if (guide.isFile())
            return guide.canonicalFilePath();
    }
    return {};
}
