#include "mainwindow/WindowPlacement.h"

#include "platform/SettingsStore.h"

#include <QGuiApplication>
#include <QPoint>
#include <QScreen>
#include <QWidget>
#include <optional>

namespace {

const QString LeftKey = QStringLiteral("Left");
const QString TopKey = QStringLiteral("Top");
const QString CalculatorKey = QStringLiteral("Calculator Characters");
const QString ResizableKey = QStringLiteral("Resizable");
const QString WidthKey = QStringLiteral("Width");
const QString HeightKey = QStringLiteral("Height");
const QString MaximizedKey = QStringLiteral("Maximized");
// How far below the window's top edge its title bar can still be grabbed.
constexpr int TitleBarDepth = 10;

std::optional<QPoint> storedPosition(const SettingsStore& settings)
{
    bool leftRead = false;
    bool topRead = false;
    const int left = settings.readIn(windowplacement::Section, LeftKey).toInt(&leftRead);
    const int top = settings.readIn(windowplacement::Section, TopKey).toInt(&topRead);
    if (!leftRead || !topRead)
        return std::nullopt;
    return QPoint(left, top);
}

// The middle of the title bar must be on a screen, where the user can take hold of the window.
bool onAScreen(const QPoint& position, int width)
{
    const QPoint titleBar = position + QPoint(width / 2, TitleBarDepth);
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(titleBar))
            return true;
    }
    return false;
}

} // namespace

namespace windowplacement {

void restore(QWidget& window, const SettingsStore& settings)
{
    const std::optional<QPoint> position = storedPosition(settings);
    if (position && onAScreen(*position, window.width()))
        window.move(*position);
}

void store(const QWidget& window, SettingsStore& settings)
{
    settings.writeIn(Section, LeftKey, QString::number(window.x()));
    settings.writeIn(Section, TopKey, QString::number(window.y()));
}

bool resizable(const SettingsStore& settings)
{
    return settings.readIn(Section, ResizableKey) == QLatin1String("1");
}

// The window never gets smaller than its minimum size, whatever was stored.
void restoreSize(QWidget& window, const SettingsStore& settings)
{
    bool widthRead = false;
    bool heightRead = false;
    const int width = settings.readIn(Section, WidthKey).toInt(&widthRead);
    const int height = settings.readIn(Section, HeightKey).toInt(&heightRead);
    if (widthRead && heightRead)
        window.resize(width, height);
    if (settings.readIn(Section, MaximizedKey) == QLatin1String("1"))
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void storeSize(const QWidget& window, SettingsStore& settings, bool resizable)
{
    settings.writeIn(Section, ResizableKey, resizable ? QStringLiteral("1") : QStringLiteral("0"));
    if (!resizable)
        return;
    const QSize size = window.isMaximized() ? window.normalGeometry().size() : window.size();
    settings.writeIn(Section, WidthKey, QString::number(size.width()));
    settings.writeIn(Section, HeightKey, QString::number(size.height()));
    settings.writeIn(Section, MaximizedKey,
                     window.isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
}

bool calculatorCharacters(const SettingsStore& settings)
{
    return settings.readIn(Section, CalculatorKey) == QLatin1String("1");
}

void storeCalculatorCharacters(SettingsStore& settings, bool on)
{
    settings.writeIn(Section, CalculatorKey, on ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace windowplacement
