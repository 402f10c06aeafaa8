#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>

struct xcb_connection_t;

// The top-level windows of an X11 display, as a window manager's task list shows them, and the close
// request that a window manager's close button sends.
class X11Windows {
public:
    struct Window {
        std::uint32_t id = 0;
        QString title;
    };

    // Connects to the display named displayName (empty: the one in DISPLAY); nullptr when there is
    // no X server to reach.
    static std::unique_ptr<X11Windows> open(const QString& displayName = QString());
    ~X11Windows();
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    // The windows that a window manager lists as its clients; without a window manager the mapped
    // top-level windows that are not menus or tooltips.
    QList<Window> topLevelWindows();
    // Sends the window the message WM_DELETE_WINDOW of the protocol WM_PROTOCOLS.
    void requestClose(std::uint32_t window);

private:
    X11Windows(xcb_connection_t* connection, std::uint32_t root);
    std::uint32_t atom(const char* name);
    QList<std::uint32_t> windowProperty(std::uint32_t window, std::uint32_t property);
    QList<std::uint32_t> managedWindows(bool* managed);
    QList<std::uint32_t> mappedChildrenOfRoot();
    // The candidates that still exist; with mappedOnly those shown that are not menus or tooltips.
    QList<std::uint32_t> existing(const QList<std::uint32_t>& candidates, bool mappedOnly);
    QString title(std::uint32_t window);

    xcb_connection_t* m_connection;
    std::uint32_t m_root;
};
