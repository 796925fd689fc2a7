#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>

// Window layouts are drawn in twips; at 96 dots per inch 15 twips make one pixel.
constexpr int TwipsPerPixel = 15;

constexpr int twips(int value)
{
    return value / TwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// The font of every window's controls, small enough that each caption fits the box that the
// fixed layouts give it.
QFont tabuletWidgetFont();

// The program's icon, shown by every window, and the toolbar's glyphs by name ("new", ...).
QIcon tabuletIcon();
QIcon toolbarGlyph(const QString& name);

class QLabel;
class QWidget;
// A label named `name` at `topLeft`, as wide as its text.
QLabel* placedLabel(QWidget& parent, const char* name, const QString& text, QPoint topLeft);
// An etched rule across `parent` at `top`: a grey line one pixel high with a white line two
// pixels high below it, named `name` + "_1" and `name` + "_0".
void etchedRule(QWidget& parent, const QString& name, int top, int width);

class QToolBar;
// A toolbar of 24-pixel buttons with 16-pixel glyphs and no captions, fixed where it is put,
// that never takes the focus.
QToolBar* fixedToolBar(QWidget& parent, const QString& name, const QRect& geometry);
// A button named and keyed `key` (its data), showing the glyph of that name; screen readers
// read its tool tip as its name.
void addToolbarButton(QToolBar& toolbar, const QString& key, const QString& glyph,
                      const QString& toolTip);
// A gap of its own key that cannot be pressed.
void addToolbarGap(QToolBar& toolbar, const QString& key);
