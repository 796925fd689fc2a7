#pragma once

#include "platform/SettingsStore.h"

#include <QString>

// The five preferences, as they are stored under "Preferences". Every reader reads a value at
// the moment it needs it and passes its own default: the defaults differ between readers, so
// that a fresh installation shows the transfer header switched on in the dialog while the
// writer, finding nothing stored, writes none.
namespace PreferenceKey {
inline const QString WrkDir = QStringLiteral("WrkDir");
inline const QString AsciiHeader = QStringLiteral("ASCII Header");
inline const QString AsciiText = QStringLiteral("ASCII Text");
inline const QString DefaultFont = QStringLiteral("Default Font");
inline const QString DefaultFontSize = QStringLiteral("Default Font Size");
} // namespace PreferenceKey

// The transfer header as the writer reads it: no defaults.
struct TransferHeader
{
    QString asciiHeader;
    QString asciiText;

    // Only the program's own "1" switches the line on; any other text leaves it off.
    bool isOn() const { return asciiHeader == QLatin1String("1"); }
};

// The five values as the Preferences dialog shows and stores them.
struct PreferenceValues
{
    QString wrkDir;
    QString asciiHeader;
    QString asciiText;
    QString defaultFont;
    QString defaultFontSize;
};

namespace preferences {

// Where the open and save-as dialogs start, and where the browser falls back to: no default,
// so that an empty value lets the platform's dialog choose.
QString workingDirectory(const SettingsStore& settings);
TransferHeader transferHeader(const SettingsStore& settings);
// The printout's font, with the same defaults as the dialog.
QString printFontName(const SettingsStore& settings);
QString printFontSize(const SettingsStore& settings);

// With the dialog's own defaults: "C:\", the header on with the HP 48 line, Arial 11.
PreferenceValues dialogValues(const SettingsStore& settings);
// Writes all five, in the order the dialog has always written them.
void storeDialogValues(SettingsStore& settings, const PreferenceValues& values);

} // namespace preferences
