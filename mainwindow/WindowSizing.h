#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

class QMainWindow;
class QWidget;

// View > Resizable Window. Off, the window keeps its fixed size and has no maximize button;
// on, it can be resized and maximized, never smaller than its fixed size, and the controls
// that follow the client area take its growth.
class WindowSizing final : public QObject
{
    Q_OBJECT

public:
    // How much of the client area's growth in one direction a control's left, top, width or
    // height takes: none, the first half, the other half or all of it.
    enum Share { None, Half, OtherHalf, All };

    // Once `client` is the window's central widget, at its fixed size.
    WindowSizing(QMainWindow& window, QWidget& client);

    // The main window's controls: the toolbar and the rules take the extra width, the list and
    // the field take it too and share the extra height.
    void followMainWindow(QWidget& toolbar, QWidget& newHeader, QWidget& list, QWidget& fieldLabel,
                          QWidget& field);
    // `control` follows the client area from where it stands now, at the fixed size.
    void follow(QWidget& control, Share left, Share top, Share width, Share height);
    void setResizable(bool on);
    bool isResizable() const { return m_resizable; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Follower
    {
        QPointer<QWidget> control;
        QRect base;
        Share left, top, width, height;
    };
    void placeFollowers();

    QMainWindow& m_window;
    QWidget& m_client;
    const QSize m_fixedSize;
    QList<Follower> m_followers;
    bool m_resizable = false;
};
