// Shows one of Tabulet's dialogs with the real platform services:
//   tabulet_show_dialog preferences | browse | about | link | variables | transfer
#include "dialogs/frmAbout.h"
#include "dialogs/frmBrowse.h"
#include "dialogs/frmLinkSettings.h"
#include "dialogs/frmPreferences.h"
#include "dialogs/frmTransfer.h"
#include "dialogs/frmVariables.h"
#include "link/KermitTransfer.h"
#include "platform/QtServices.h"

#include <QApplication>
#include <QBuffer>
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
    else if (which == QLatin1String("link"))
        dialog = std::make_unique<frmLinkSettings>(services.services());
    else if (which == QLatin1String("variables"))
        dialog = std::make_unique<frmVariables>(QList<CalculatorVariable>{
            {"NOTES", "3412", "String"}, {"ADDR", "20512", "List"}, {"X", "10.5", "Real Number"}});
    // A transfer that waits for a calculator that never comes.
    QBuffer line;
    line.open(QIODevice::ReadWrite);
    KermitTransfer waiting(line, {KermitTransfer::Job::Receive, {}, {}, 3}, LinkTiming{});
    if (which == QLatin1String("transfer")) {
        waiting.start();
        dialog = std::make_unique<frmTransfer>(waiting, QStringLiteral("Receive"));
    }
    if (!dialog) {
        QTextStream(stderr)
            << "usage: tabulet_show_dialog preferences|browse|about|link|variables|transfer\n";
        return 2;
    }
    return dialog->exec() == QDialog::Accepted ? 0 : 1;
}
