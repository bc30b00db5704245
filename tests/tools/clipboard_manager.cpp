// A stand-in clipboard manager: it owns CLIPBOARD_MANAGER, says "ready" once it does, and
// answers every request to save the clipboard as done. With "owner [WINDOW]" it prints who
// owns CLIPBOARD on this display instead: "none", "window" (the program that made WINDOW) or
// "other".

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (argc > 1) {
        auto* atom = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, 9, "CLIPBOARD"), nullptr);
        auto* got = xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, atom->atom), 0);
        // Windows of one X client share the bits outside the resource id mask.
        const uint32_t client = ~xcb_get_setup(x)->resource_id_mask, owner = got ? got->owner : 0;
        const uint32_t window = argc > 2 ? uint32_t(std::strtoul(argv[2], nullptr, 0)) : 0;
        std::puts(!owner ? "none" : (owner & client) == (window & client) ? "window" : "other");
        std::free(got), std::free(atom); // a leak report would end the tool before its answer
        xcb_disconnect(x);
        return 0;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const xcb_window_t window = xcb_generate_id(x);
    xcb_create_window(x, 0, window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      screen->root_visual, 0, nullptr);
    auto* atom = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, 17, "CLIPBOARD_MANAGER"), nullptr);
    xcb_set_selection_owner(x, window, atom->atom, XCB_CURRENT_TIME);
    auto* owner = xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, atom->atom), nullptr);
    if (!owner || owner->owner != window)
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    while (xcb_generic_event_t* event = xcb_wait_for_event(x)) {
        if ((event->response_type & 0x7f) == XCB_SELECTION_REQUEST) {
            const auto& r = *reinterpret_cast<xcb_selection_request_event_t*>(event);
            const xcb_selection_notify_event_t done{
                XCB_SELECTION_NOTIFY, 0, 0, r.time, r.requestor, r.selection, r.target, r.property};
            xcb_send_event(x, 0, r.requestor, 0, reinterpret_cast<const char*>(&done));
            xcb_flush(x);
        }
        std::free(event);
    }
}
