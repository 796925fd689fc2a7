#include "core/Preferences.h"

namespace preferences {
namespace {

const QString DefaultFont = QStringLiteral("Arial");
const QString DefaultFontSize = QStringLiteral("11");

} // namespace

QString workingDirectory(const SettingsStore& settings)
{
    return settings.read(PreferenceKey::WrkDir);
}

TransferHeader transferHeader(const SettingsStore& settings)
{
    return {settings.read(PreferenceKey::AsciiHeader), settings.read(PreferenceKey::AsciiText)};
}

QString printFontName(const SettingsStore& settings)
{
    return settings.read(PreferenceKey::DefaultFont, DefaultFont);
}

QString printFontSize(const SettingsStore& settings)
{
    return settings.read(PreferenceKey::DefaultFontSize, DefaultFontSize);
}

PreferenceValues dialogValues(const SettingsStore& settings)
{
    return {settings.read(PreferenceKey::WrkDir, QStringLiteral("C:\\")),
            settings.read(PreferenceKey::AsciiHeader, QStringLiteral("1")),
            settings.read(PreferenceKey::AsciiText, QStringLiteral("%%HP: T(3)A(D)F(.);")),
            printFontName(settings), printFontSize(settings)};
}

void storeDialogValues(SettingsStore& settings, const PreferenceValues& values)
{
    settings.write(PreferenceKey::WrkDir, values.wrkDir);
    settings.write(PreferenceKey::AsciiHeader, values.asciiHeader);
    settings.write(PreferenceKey::AsciiText, values.asciiText);
    settings.write(PreferenceKey::DefaultFont, values.defaultFont);
    settings.write(PreferenceKey::DefaultFontSize, values.defaultFontSize);
}

} // namespace preferences
