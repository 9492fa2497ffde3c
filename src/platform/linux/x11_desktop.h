#pragma once

#include "platform/desktop_windows.h"

#include <QByteArray>
#include <QHash>

#include <functional>

struct xcb_connection_t;

namespace orvanel {

// The other programs' windows on the X display of $DISPLAY (under Wayland: the XWayland
// windows only), through a connection of its own that is opened on first use. The window
// manager's client list (_NET_CLIENT_LIST) names the top-level windows; without one, the root
// window's children do. Titles are _NET_WM_NAME, else WM_NAME.
//
// Nothing is watched: every question is a few requests at the moment it is asked.
class X11Desktop final : public DesktopWindows {
public:
    // `trace` hears once that there is no display to connect to.
    explicit X11Desktop(std::function<void(const QString&)> trace = {},
                        QByteArray display = QByteArray());
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    QStringList Titles() override;
    quint64 ActiveWindow() override;
    QString Title(quint64 id) override;

    // Asks the window manager to iconify window `id` (WM_CHANGE_STATE, as XIconifyWindow), or
    // to maximise it (_NET_WM_STATE). False when the request could not be sent.
    bool Minimize(quint64 id);
    bool Maximize(quint64 id);

private:
    bool Connect();
    quint32 Atom(const char* name);
    bool SendToRoot(quint32 window, quint32 type, const quint32 (&data)[5]);

    std::function<void(const QString&)> trace_;
    QByteArray display_;
    xcb_connection_t* c_ = nullptr;
    quint32 root_ = 0;
    QHash<QByteArray, quint32> atoms_;
    bool reported_ = false;
};

} // namespace orvanel
