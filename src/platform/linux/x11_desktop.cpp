#include "platform/linux/x11_desktop.h"

#include <QList>

#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

constexpr quint32 kIconicState = 3;
constexpr quint32 kNetWmStateAdd = 1;
constexpr quint32 kSourceApplication = 1;

struct Reply {
    xcb_get_property_reply_t* r = nullptr;
    ~Reply() { std::free(r); }
    bool Has(xcb_atom_t type, quint8 format) const {
        return r && r->type == type && r->format == format && xcb_get_property_value_length(r) > 0;
    }
    QByteArray Bytes() const {
        return QByteArray(static_cast<const char*>(xcb_get_property_value(r)),
                          xcb_get_property_value_length(r));
    }
    QList<quint32> Cardinals() const {
        const auto* v = static_cast<const quint32*>(xcb_get_property_value(r));
        return QList<quint32>(v, v + xcb_get_property_value_length(r) / 4);
    }
};

xcb_get_property_cookie_t AskProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property,
                                      xcb_atom_t type) {
    return xcb_get_property(c, 0, w, property, type, 0, 4096);
}

// Text up to the first NUL, as the original's title buffers read it.
QString TitleText(const Reply& netName, const Reply& wmName, xcb_atom_t utf8) {
    QByteArray bytes;
    bool isUtf8 = true;
    if (netName.Has(utf8, 8)) {
        bytes = netName.Bytes();
    } else if (wmName.r && wmName.r->format == 8 && xcb_get_property_value_length(wmName.r) > 0) {
        bytes = wmName.Bytes();
        isUtf8 = wmName.r->type == utf8;
    }
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0) bytes.truncate(nul);
    return isUtf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

} // namespace

X11Desktop::X11Desktop(std::function<void(const QString&)> trace, QByteArray display)
    : trace_(std::move(trace)), display_(std::move(display)) {}

X11Desktop::~X11Desktop() {
    if (c_) xcb_disconnect(c_);
}

bool X11Desktop::Connect() {
    if (c_ && !xcb_connection_has_error(c_)) {
        // Errors of requests whose answers nobody waits for would pile up unread.
        while (xcb_generic_event_t* e = xcb_poll_for_event(c_))
            std::free(e);
        return true;
    }
    if (c_) {
        xcb_disconnect(c_);
        c_ = nullptr;
    }
    int screen = 0;
    const QByteArray name = display_.isEmpty() ? qgetenv("DISPLAY") : display_;
    if (name.isEmpty()) {
        if (!reported_ && trace_) trace_(u"SysInfo: no X11 display, no other windows"_s);
        reported_ = true;
        return false;
    }
    xcb_connection_t* c = xcb_connect(name.constData(), &screen);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        if (!reported_ && trace_)
            trace_(u"SysInfo: no X11 display at %1, no other windows"_s.arg(
                QString::fromLocal8Bit(name)));
        reported_ = true;
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(c);
        return false;
    }
    c_ = c;
    root_ = it.data->root;
    atoms_.clear();
    return true;
}

quint32 X11Desktop::Atom(const char* name) {
    if (const auto it = atoms_.constFind(name); it != atoms_.cend()) return *it;
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, quint16(std::strlen(name)), name), nullptr);
    const quint32 atom = r ? r->atom : quint32(XCB_ATOM_NONE);
    std::free(r);
    if (atom != XCB_ATOM_NONE) atoms_.insert(name, atom);
    return atom;
}

QStringList X11Desktop::Titles() {
    if (!Connect()) return {};
    const xcb_atom_t utf8 = Atom("UTF8_STRING");
    const xcb_atom_t netName = Atom("_NET_WM_NAME");
    QList<quint32> windows;
    Reply list{xcb_get_property_reply(
        c_, AskProperty(c_, root_, Atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW), nullptr)};
    if (list.Has(XCB_ATOM_WINDOW, 32)) {
        windows = list.Cardinals();
    } else {
        // No window manager that lists its clients: every child of the root, shown or not.
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), nullptr);
        if (tree) {
            const xcb_window_t* children = xcb_query_tree_children(tree);
            windows = QList<quint32>(children, children + xcb_query_tree_children_length(tree));
            std::free(tree);
        }
    }
    // All requests first, then the answers: one round trip however many windows there are.
    QList<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
    cookies.reserve(windows.size());
    for (quint32 w : windows)
        cookies.append({AskProperty(c_, w, netName, utf8),
                        AskProperty(c_, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY)});
    QStringList titles;
    titles.reserve(windows.size());
    for (const auto& [net, wm] : cookies) {
        // A window that went away meanwhile answers with an error, and has no title.
        Reply n{xcb_get_property_reply(c_, net, nullptr)};
        Reply m{xcb_get_property_reply(c_, wm, nullptr)};
        titles.append(TitleText(n, m, utf8));
    }
    return titles;
}

QString X11Desktop::Title(quint64 id) {
    if (id == 0 || !Connect()) return {};
    const xcb_atom_t utf8 = Atom("UTF8_STRING");
    const auto net = AskProperty(c_, xcb_window_t(id), Atom("_NET_WM_NAME"), utf8);
    const auto wm = AskProperty(c_, xcb_window_t(id), XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY);
    Reply n{xcb_get_property_reply(c_, net, nullptr)};
    Reply m{xcb_get_property_reply(c_, wm, nullptr)};
    return TitleText(n, m, utf8);
}

quint64 X11Desktop::ActiveWindow() {
    if (!Connect()) return 0;
    Reply active{xcb_get_property_reply(
        c_, AskProperty(c_, root_, Atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW), nullptr)};
    if (!active.Has(XCB_ATOM_WINDOW, 32)) return 0;
    const quint32 window = active.Cardinals().value(0);
    if (window == 0) return 0;
    Reply pid{xcb_get_property_reply(
        c_, AskProperty(c_, window, Atom("_NET_WM_PID"), XCB_ATOM_CARDINAL), nullptr)};
    if (pid.Has(XCB_ATOM_CARDINAL, 32) && pid.Cardinals().value(0) == quint32(getpid())) return 0;
    return window;
}

bool X11Desktop::SendToRoot(quint32 window, quint32 type, const quint32 (&data)[5]) {
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::memcpy(event.data.data32, data, sizeof data);
    const xcb_void_cookie_t cookie = xcb_send_event_checked(
        c_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&event));
    xcb_generic_error_t* error = xcb_request_check(c_, cookie);
    std::free(error);
    return !error;
}

bool X11Desktop::Minimize(quint64 id) {
    if (id == 0 || !Connect()) return false;
    return SendToRoot(quint32(id), Atom("WM_CHANGE_STATE"), {kIconicState, 0, 0, 0, 0});
}

bool X11Desktop::Maximize(quint64 id) {
    if (id == 0 || !Connect()) return false;
    return SendToRoot(quint32(id), Atom("_NET_WM_STATE"),
                      {kNetWmStateAdd, Atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                       Atom("_NET_WM_STATE_MAXIMIZED_HORZ"), kSourceApplication, 0});
}

} // namespace orvanel
