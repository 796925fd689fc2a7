// What the end-to-end scripts need from the X server beyond xdotool:
//   x11_probe close WINDOW   asks WINDOW to close, as a window manager's close box does
//                            (xdotool's windowclose destroys the window instead);
//   x11_probe clipboard      prints the clipboard's text, which is how a script reads what
//                            it has copied out of a window.
#include <QClipboard>
#include <QGuiApplication>
#include <QTextStream>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int requestClose(const char* windowText)
{
    char* end = nullptr;
    const unsigned long window = std::strtoul(windowText, &end, 0);
    if (end == windowText || *end != '\0') {
        std::fprintf(stderr, "x11_probe: not a window id: %s\n", windowText);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11_probe: cannot open the display\n");
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}

int printClipboard(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream(stdout) << QGuiApplication::clipboard()->text();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "close") == 0)
        return requestClose(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0)
        return printClipboard(argc, argv);
    std::fprintf(stderr, "usage: x11_probe close WINDOW | x11_probe clipboard\n");
    return 2;
}
