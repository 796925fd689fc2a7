// What the end-to-end scripts need from the X server beyond xdotool:
//   x11_probe clipboard      prints the clipboard's text, which is how a script reads what
//                            it has copied out of a window;
//   x11_probe drag FILE...   shows a small window named "drag source" at 600,500 from which a
//                            press of the first button drags the files away, as a file
//                            manager does; the script moves the pointer and lets go.
#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QTextStream>
#include <QUrl>
#include <cstdio>
#include <cstring>

namespace {

class DragSource final : public QRasterWindow
{
public:
    explicit DragSource(QList<QUrl> files) : m_files(std::move(files))
    {
        setTitle(QStringLiteral("drag source"));
        setGeometry(600, 500, 60, 60);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(0, 0, 60, 60, Qt::blue); }
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData;
        data->setUrls(m_files);
        QDrag drag(this);
        drag.setMimeData(data);
        drag.exec(Qt::CopyAction);
        QGuiApplication::quit();
    }

private:
    QList<QUrl> m_files;
};

int dragFiles(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QList<QUrl> files;
    for (int at = 2; at < argc; ++at)
        files << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[at]));
    DragSource source(files);
    source.show();
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 3 && std::strcmp(argv[1], "drag") == 0)
        return dragFiles(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0) {
        QGuiApplication app(argc, argv);
        QTextStream(stdout) << QGuiApplication::clipboard()->text();
        return 0;
    }
    std::fputs("usage: x11_probe clipboard | x11_probe drag FILE...\n", stderr);
    return 2;
}
