#include "platform/linux/x11_screens.h"

#include <QGuiApplication>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace orvanel {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : XCB_ATOM_NONE;
}

// A property of 32-bit values (CARDINAL or WINDOW or ATOM), empty when missing.
QList<quint32> Values(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 4096), nullptr));
    QList<quint32> out;
    if (!reply || reply->format != 32) return out;
    const auto* v = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    const int n = xcb_get_property_value_length(reply.get()) / 4;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.append(v[i]);
    return out;
}

} // namespace

QRect WorkAreaOf(const QRect& screen, const QSize& root, const QList<Strut>& struts) {
    QRect area = screen;
    for (const Strut& s : struts) {
        if (s.width <= 0 || s.end < s.start) continue;
        const int along = s.end - s.start + 1;
        switch (s.side) {
        case Strut::Side::Left:
            if (QRect(0, s.start, s.width, along).intersects(screen))
                area.setLeft(qMax(area.left(), s.width));
            break;
        case Strut::Side::Right:
            if (QRect(root.width() - s.width, s.start, s.width, along).intersects(screen))
                area.setRight(qMin(area.right(), root.width() - s.width - 1));
            break;
        case Strut::Side::Top:
            if (QRect(s.start, 0, along, s.width).intersects(screen))
                area.setTop(qMax(area.top(), s.width));
            break;
        case Strut::Side::Bottom:
            if (QRect(s.start, root.height() - s.width, along, s.width).intersects(screen))
                area.setBottom(qMin(area.bottom(), root.height() - s.width - 1));
            break;
        }
    }
    // Panels that leave nothing of the screen are not believed.
    return area.isValid() ? area : screen;
}

std::optional<QRect> X11WorkArea(const QRect& screen) {
    xcb_connection_t* c = Connection();
    if (!c) return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const QList<quint32> clients = Values(c, root, Atom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (clients.isEmpty()) return std::nullopt;
    const Reply<xcb_get_geometry_reply_t> rootGeometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, root), nullptr));
    if (!rootGeometry) return std::nullopt;
    const QSize rootSize(rootGeometry->width, rootGeometry->height);
    const xcb_atom_t partial = Atom(c, "_NET_WM_STRUT_PARTIAL");
    const xcb_atom_t plain = Atom(c, "_NET_WM_STRUT");
    QList<Strut> struts;
    for (const quint32 w : clients) {
        QList<quint32> v = Values(c, w, partial, XCB_ATOM_CARDINAL);
        if (v.size() < 12) {
            // The older property claims whole sides.
            v = Values(c, w, plain, XCB_ATOM_CARDINAL);
            if (v.size() < 4) continue;
            const quint32 h = quint32(rootSize.height() - 1), x = quint32(rootSize.width() - 1);
            v = {v[0], v[1], v[2], v[3], 0, h, 0, h, 0, x, 0, x};
        }
        // left, right, top, bottom, then start and end of each in that order.
        static constexpr Strut::Side kSides[] = {Strut::Side::Left, Strut::Side::Right,
                                                 Strut::Side::Top, Strut::Side::Bottom};
        for (int i = 0; i < 4; ++i)
            struts.append({kSides[i], int(v[i]), int(v[4 + 2 * i]), int(v[5 + 2 * i])});
    }
    return WorkAreaOf(screen, rootSize, struts);
}

void KeepOutOfTaskbar(quintptr window) {
    xcb_connection_t* c = Connection();
    if (!c) return;
    const xcb_window_t w = xcb_window_t(window);
    const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
    QList<quint32> states = Values(c, w, state, XCB_ATOM_ATOM);
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t a = Atom(c, name);
        if (!states.contains(a)) states.append(a);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, state, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.constData());
    xcb_flush(c);
}

} // namespace orvanel
