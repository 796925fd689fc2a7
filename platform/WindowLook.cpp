#include "platform/WindowLook.h"

#include <QFrame>
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

namespace {

void ruleLine(QWidget& parent, const QString& name, const QColor& colour, const QRect& geometry)
{
    auto* line = new QFrame(&parent);
    line->setObjectName(name);
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
}

} // namespace

void etchedRule(QWidget& parent, const QString& name, int top, int width)
{
    ruleLine(parent, name + QStringLiteral("_1"), QColor(128, 128, 128), QRect(0, top, width, 1));
    ruleLine(parent, name + QStringLiteral("_0"), QColor(255, 255, 255),
             QRect(0, top + 1, width, 2));
}
