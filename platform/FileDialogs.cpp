#include "platform/FileDialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>

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

// A family the system has no font of, as "Arial" may be, is drawn in another one; the dialog
// would fall back on the application's family instead, so it is given the family drawn.
QFont drawnFont(const QFont& font)
{
    QFont drawn = font;
    drawn.setFamily(QFontInfo(font).family());
    return drawn;
}

// The preferences keep a font's family and size alone, so the underline and strike-out the
// dialog offers would be lost. It has no option to leave them out, and names none of its
// widgets: they are the check boxes of a group box of their own. The group keeps its room, as
// the sample beside it takes its height from that row.
void hideEffects(QFontDialog& dialog)
{
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        if (!group->findChild<QCheckBox*>())
            continue;
        QSizePolicy keepsRoom = group->sizePolicy();
        keepsRoom.setRetainSizeWhenHidden(true);
        group->setSizePolicy(keepsRoom);
        group->hide();
    }
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
                                                    const QString& startFolder,
                                                    const QString& title)
{
    QFileDialog dialog(parent, title, startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    showOnlyDescriptions(dialog, filter);
    // A start in a folder that names a file not there yet offers that file's name.
    if (const QFileInfo start(startFolder); !start.exists() && start.dir().exists()) {
        dialog.setDirectory(start.dir());
        dialog.selectFile(start.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return choiceFrom(dialog.selectedFiles().constFirst());
}

std::optional<QFont> QtFileDialogs::chooseFont(QWidget* parent, const QFont& startFont)
{
    QFontDialog dialog(parent);
    // Only Qt's own dialog honours the font filter. It lists the styles a font really has
    // and picks families from its list, so no simulated style and no font that does not
    // exist can be chosen; the filter keeps it to scalable fonts, as printing needs.
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setOption(QFontDialog::ScalableFonts);
    // The dialog filters its list of families only when it fills it, on being made and on
    // being given a font: the font comes after the filter.
    dialog.setCurrentFont(drawnFont(startFont));
    hideEffects(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}
