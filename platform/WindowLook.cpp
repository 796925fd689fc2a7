#include "platform/WindowLook.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QStringList>
#include <QToolBar>

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

namespace {

constexpr int ToolbarButtonPixels = 24;
constexpr int ToolbarGapPixels = 8;

} // namespace

QToolBar* fixedToolBar(QWidget& parent, const QString& name, const QRect& geometry)
{
    auto* toolbar = new QToolBar(&parent);
    toolbar->setObjectName(name);
    toolbar->setGeometry(geometry);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->setFocusPolicy(Qt::NoFocus);
    return toolbar;
}

void addToolbarButton(QToolBar& toolbar, const QString& key, const QString& glyph,
                      const QString& toolTip)
{
    QAction* button = toolbar.addAction(toolbarGlyph(glyph), QString());
    button->setObjectName(key);
    button->setData(key);
    button->setToolTip(toolTip);
    if (QWidget* widget = toolbar.widgetForAction(button)) {
        widget->setFixedSize(ToolbarButtonPixels, ToolbarButtonPixels);
        widget->setFocusPolicy(Qt::NoFocus);
        // A glyph alone tells a screen reader nothing; and since the button never takes the
        // focus, its listener is told where the keyboard finds the same command.
        widget->setAccessibleName(toolTip);
        widget->setAccessibleDescription(QCoreApplication::translate(
            "WindowLook", "Its menu item runs the same command from the keyboard"));
    }
}

void addToolbarGap(QToolBar& toolbar, const QString& key)
{
    auto* gap = new QWidget(&toolbar);
    gap->setFixedSize(ToolbarGapPixels, ToolbarButtonPixels);
    QAction* action = toolbar.addWidget(gap);
    action->setObjectName(key);
    action->setData(key);
}

QLabel* placedLabel(QWidget& parent, const char* name, const QString& text, QPoint topLeft)
{
    auto* label = new QLabel(text, &parent);
    label->setObjectName(QLatin1String(name));
    label->move(topLeft);
    label->adjustSize();
    return label;
}
