#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>

namespace {

QString widenPattern(const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    const QString lower = pattern.toLower();
    const QString upper = pattern.toUpper();
    if (lower == upper)
        return pattern;
    QStringList variants{pattern};
    for (const QString& variant : {upper, lower})
        if (!variants.contains(variant))
            variants << variant;
    return variants.join(QLatin1Char(' '));
}

void showOnlyDescriptions(QFileDialog& dialog, const QString& filter)
{
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtNameFilters(filter));
}

std::optional<FileChoice> choiceFrom(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return FileChoice{path, QFileInfo(path).fileName()};
}

} // namespace

QStringList qtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << widenPattern(pattern.trimmed());
        // Qt takes the patterns from the last parentheses; the dialogs hide those (see
        // showOnlyDescriptions), so the user reads the description exactly as written.
        result << QStringLiteral("%1 (%2)").arg(parts.at(i), patterns.join(QLatin1Char(' ')));
    }
    return result;
}

std::optional<FileChoice> QtFileDialogs::openFile(QWidget* parent, const QString& filter,
                                                  const QString& startFolder)
{
    QFileDialog dialog(parent, QString(), startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    showOnlyDescriptions(dialog, filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return choiceFrom(dialog.selectedFiles().constFirst());
}

std::optional<FileChoice> QtFileDialogs::saveFileAs(QWidget* parent, const QString& filter,
                                                    const QString& startFolder)
{
    QFileDialog dialog(parent, QString(), startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    showOnlyDescriptions(dialog, filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return choiceFrom(dialog.selectedFiles().constFirst());
}

std::optional<QFont> QtFileDialogs::chooseFont(QWidget* parent)
{
    QFontDialog dialog(parent);
    // Only Qt's own dialog honours the font filter. It lists the styles a font really has
    // and picks families from its list, so no simulated style and no font that does not
    // exist can be chosen; the filter keeps it to scalable fonts, as printing needs.
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setOption(QFontDialog::ScalableFonts);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}
