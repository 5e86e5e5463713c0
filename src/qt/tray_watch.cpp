#include "qt/tray_watch.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

namespace vespar::qt {
namespace {

std::uint32_t Atom(xcb_connection_t* c, const std::string& name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
    const std::uint32_t atom = reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

}  // namespace

TrayWatch::TrayWatch(const char* displayName, std::function<void()> changed)
    : changed_(std::move(changed)) {
    int screenNumber = 0;
    connection_ = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection_)) return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
    if (screens.rem == 0) return;
    root_ = screens.data->root;
    selection_ = Atom(connection_, "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber));
    manager_ = Atom(connection_, "MANAGER");
    const std::uint32_t structure = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &structure);
    WatchOwner();
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_),
                                                  QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Read(); });
}

TrayWatch::~TrayWatch() {
    notifier_.reset();
    xcb_disconnect(connection_);
}

void TrayWatch::WatchOwner() {
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, selection_), nullptr);
    owner_ = reply ? reply->owner : std::uint32_t{XCB_WINDOW_NONE};
    std::free(reply);
    if (owner_ == XCB_WINDOW_NONE) return;
    // Should the owner be gone already, the error comes back as an event and is passed over.
    const std::uint32_t structure = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, owner_, XCB_CW_EVENT_MASK, &structure);
    xcb_flush(connection_);
}

void TrayWatch::Read() {
    bool news = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const auto type = event->response_type & 0x7f;
        if (type == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type == manager_ && message->format == 32 &&
                message->data.data32[1] == selection_) {
                news = true;
            }
        } else if (type == XCB_DESTROY_NOTIFY) {
            const auto* destroyed = reinterpret_cast<xcb_destroy_notify_event_t*>(event);
            if (owner_ != XCB_WINDOW_NONE && destroyed->window == owner_) news = true;
        }
        std::free(event);
    }
    if (xcb_connection_has_error(connection_)) {
        notifier_.reset();  // the server is gone; nothing more will come
        return;
    }
    if (!news) return;
    WatchOwner();
    changed_();
}

}  // namespace vespar::qt
