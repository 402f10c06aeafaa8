#include "X11Windows.h"

#include <QByteArray>

#include <cstdlib>
#include <xcb/xcb.h>

namespace {
// Frees a reply of xcb when it goes out of scope.
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPtr<Reply> owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}
} // namespace

std::unique_ptr<X11Windows> X11Windows::open(const QString& displayName) {
    const QByteArray name = displayName.toLocal8Bit();
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11Windows>(new X11Windows(connection, screens.data->root));
}

X11Windows::X11Windows(xcb_connection_t* connection, std::uint32_t root)
    : m_connection(connection), m_root(root) {}

X11Windows::~X11Windows() {
    xcb_disconnect(m_connection);
}

std::uint32_t X11Windows::atom(const char* name) {
    const auto reply = owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : std::uint32_t(XCB_ATOM_NONE);
}

QList<std::uint32_t> X11Windows::windowProperty(std::uint32_t window, std::uint32_t property) {
    QList<std::uint32_t> windows;
    const auto reply = owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1 << 16),
        nullptr));
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32)
        return windows;
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i)
        windows << values[i];
    return windows;
}

QList<std::uint32_t> X11Windows::managedWindows(bool* managed) {
    // A window manager that runs names its check window on the root window, and the check window
    // names itself; a list left behind by a window manager that ended is not trusted.
    const std::uint32_t check = atom("_NET_SUPPORTING_WM_CHECK");
    const QList<std::uint32_t> checkWindow = windowProperty(m_root, check);
    *managed = !checkWindow.isEmpty() && windowProperty(checkWindow.first(), check) == checkWindow;
    // A window that has ended counts as gone even while the list still names it. Minimised windows are
    // unmapped but stay in the list.
    return *managed ? existing(windowProperty(m_root, atom("_NET_CLIENT_LIST")), false)
                    : QList<std::uint32_t>();
}

QList<std::uint32_t> X11Windows::mappedChildrenOfRoot() {
    const auto tree =
        owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
    if (!tree)
        return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return existing(QList<std::uint32_t>(children, children + xcb_query_tree_children_length(tree.get())),
                    true);
}

QList<std::uint32_t> X11Windows::existing(const QList<std::uint32_t>& candidates, bool mappedOnly) {
    QList<xcb_get_window_attributes_cookie_t> cookies;
    for (const std::uint32_t window : candidates)
        cookies << xcb_get_window_attributes(m_connection, window);
    QList<std::uint32_t> windows;
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        xcb_generic_error_t* error = nullptr;
        const auto attributes = owned(xcb_get_window_attributes_reply(m_connection, cookies[i], &error));
        std::free(error);
        if (!attributes)
            continue;
        if (!mappedOnly ||
            (attributes->map_state == XCB_MAP_STATE_VIEWABLE && !attributes->override_redirect))
            windows << candidates[i];
    }
    return windows;
}

QString X11Windows::title(std::uint32_t window) {
    const std::uint32_t utf8 = atom("UTF8_STRING");
    for (const std::uint32_t property : {atom("_NET_WM_NAME"), std::uint32_t(XCB_ATOM_WM_NAME)}) {
        const auto reply = owned(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096),
            nullptr));
        if (!reply || reply->type == XCB_ATOM_NONE || reply->format != 8)
            continue;
        const char* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
        const int length = xcb_get_property_value_length(reply.get());
        if (reply->type == XCB_ATOM_STRING)
            return QString::fromLatin1(text, length);
        if (reply->type == utf8 || property == XCB_ATOM_WM_NAME)
            return QString::fromUtf8(text, length);
    }
    return QString();
}

QList<X11Windows::Window> X11Windows::topLevelWindows() {
    bool managed = false;
    const QList<std::uint32_t> ids = managedWindows(&managed);
    QList<Window> windows;
    for (const std::uint32_t id : managed ? ids : mappedChildrenOfRoot())
        windows << Window{id, title(id)};
    return windows;
}

void X11Windows::requestClose(std::uint32_t window) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
}
