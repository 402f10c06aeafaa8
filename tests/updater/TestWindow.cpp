// A top-level window on the X server in DISPLAY, titled by the first argument. It ends when it is asked
// to close (WM_DELETE_WINDOW); with --stays-open as second argument it ignores the request, with --hides
// it only unmaps its window, as a hidden screen does.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

int main(int argc, char** argv) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (argc < 2 || xcb_connection_has_error(connection))
        return 2;
    const auto atom = [connection](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    };
    const char* answer = argc > 2 ? argv[2] : "";
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t white = screen->white_pixel;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 10, 10, 200, 80, 1,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, &white);
    const xcb_atom_t protocols = atom("WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom("WM_DELETE_WINDOW");
    const auto length = uint32_t(std::strlen(argv[1]));
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        length, argv[1]);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, protocols, XCB_ATOM_ATOM, 32, 1,
                        &deleteWindow);
    xcb_map_window(connection, window);
    xcb_flush(connection);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
        const bool asked = (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                           message->type == protocols && message->data.data32[0] == deleteWindow;
        std::free(event);
        if (!asked)
            continue;
        std::printf("asked to close\n");
        std::fflush(stdout);
        if (std::strcmp(answer, "--hides") == 0)
            xcb_unmap_window(connection, window);
        else if (std::strcmp(answer, "--stays-open") != 0)
            break;
        xcb_flush(connection);
    }
    xcb_disconnect(connection);
    return 0;
}
