// A panel for the end-to-end tests: a dock window at X Y W H that claims the bottom of the X
// screen below its top edge, along its own width (_NET_WM_STRUT_PARTIAL), as a taskbar does.
// It runs until it is killed.
//   orvanel-test-panel X Y W H
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    std::free(r);
    return a;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: orvanel-test-panel X Y W H\n");
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const int w = std::atoi(argv[3]), h = std::atoi(argv[4]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t win = xcb_generate_id(c);
    const uint32_t values[] = {0x303040};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, win, screen->root, int16_t(x), int16_t(y),
                      uint16_t(w), uint16_t(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL, values);
    const char title[] = "orvanel test panel";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        sizeof title - 1, title);
    const xcb_atom_t dock = Atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, Atom(c, "_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 1, &dock);
    // left, right, top, bottom, then the start and end of each along its side.
    const uint32_t strut[12] = {0, 0, 0,           uint32_t(screen->height_in_pixels - y),
                                0, 0, 0,           0,
                                0, 0, uint32_t(x), uint32_t(x + w - 1)};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, Atom(c, "_NET_WM_STRUT_PARTIAL"),
                        XCB_ATOM_CARDINAL, 32, 12, strut);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, Atom(c, "_NET_WM_STRUT"), XCB_ATOM_CARDINAL,
                        32, 4, strut);
    xcb_map_window(c, win);
    xcb_flush(c);
    std::printf("ready\n");
    std::fflush(stdout);
    while (xcb_generic_event_t* e = xcb_wait_for_event(c))
        std::free(e);
    return 0;
}
