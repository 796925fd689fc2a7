// Prints the MIME type the desktop's shared MIME database gives each file name on the command
// line, one per line, as file managers see it when they choose which programs to offer.
#include <QtCore>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList names = QCoreApplication::arguments().mid(1);
    for (const QString& name : names)
        out << QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name() << '\n';
}
