// Shows one of Tabulet's dialogs with the real platform services:
//   tabulet_show_dialog preferences | browse | about
#include "dialogs/frmAbout.h"
#include "dialogs/frmBrowse.h"
#include "dialogs/frmPreferences.h"
#include "platform/QtServices.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QtServices services;
    QLineEdit workingDirectory(QDir::homePath());

    std::unique_ptr<QDialog> dialog;
    if (which == QLatin1String("preferences"))
        dialog = std::make_unique<frmPreferences>(services.services());
    else if (which == QLatin1String("browse"))
        dialog = std::make_unique<frmBrowse>(services.services(), workingDirectory);
    else if (which == QLatin1String("about"))
        dialog = std::make_unique<frmAbout>();
    if (!dialog) {
        QTextStream(stderr) << "usage: tabulet_show_dialog preferences|browse|about\n";
        return 2;
    }
    return dialog->exec() == QDialog::Accepted ? 0 : 1;
}
