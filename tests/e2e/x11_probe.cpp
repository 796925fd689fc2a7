// What the end-to-end scripts need from the X server beyond xdotool:
//   x11_probe clipboard      prints the clipboard's text, which is how a script reads what
//                            it has copied out of a window;
//   x11_probe drag FILE...   shows a small window named "drag source" at 600,500 from which a
//                            press of the first button drags the files away, as a file
//                            manager does; the script moves the pointer and lets go.
#include <QtGui>
#include <cstdio>

namespace {

// Drags its files away on the first press, then ends the program.
class DragSource final : public QRasterWindow
{
public:
    QList<QUrl> files;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(0, 0, 60, 60, Qt::blue); }
    void mousePressEvent(QMouseEvent*) override
    {
        QDrag drag(this);
        drag.setMimeData(new QMimeData);
        drag.mimeData()->setUrls(files);
        drag.exec(Qt::CopyAction);
        QGuiApplication::quit();
    }
};

} // namespace

int main(int argc, char* argv[])
{
    const QByteArray command = argc >= 2 ? argv[1] : "";
    if ((command != "drag" || argc < 3) && (command != "clipboard" || argc != 2)) {
        std::fputs("usage: x11_probe clipboard | x11_probe drag FILE...\n", stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    if (command == "clipboard") {
        QTextStream(stdout) << QGuiApplication::clipboard()->text();
        return 0;
    }
    DragSource source;
    for (int at = 2; at < argc; ++at)
        source.files << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[at]));
    source.setTitle(QStringLiteral("drag source"));
    source.setGeometry(600, 500, 60, 60);
    source.show();
    return app.exec();
}
