#include "platform/WindowLook.h"

#include <QStringList>

QFont tabuletWidgetFont()
{
    QFont font;
    font.setFamilies(QStringList()
                     << QStringLiteral("Liberation Sans") << QStringLiteral("Arial")
                     << QStringLiteral("DejaVu Sans") << QStringLiteral("Sans Serif"));
    font.setPixelSize(11);
    return font;
}

// The icons are compiled into the platform library, whose resource registration the linker
// would otherwise drop. (Q_INIT_RESOURCE must be used outside any namespace.)
static void registerResources()
{
    static bool registered = false;
    if (!registered) {
        Q_INIT_RESOURCE(tabulet);
        registered = true;
    }
}

QIcon tabuletIcon()
{
    registerResources();
    return QIcon(QStringLiteral(":/icons/tabulet.png"));
}

QIcon toolbarGlyph(const QString& name)
{
    registerResources();
    return QIcon(QStringLiteral(":/icons/%1.png").arg(name));
}
