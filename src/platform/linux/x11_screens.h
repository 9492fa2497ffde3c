#pragma once

#include <QList>
#include <QRect>

#include <optional>

namespace orvanel {

// A panel's claim on one side of the X root window (_NET_WM_STRUT_PARTIAL): `width` pixels
// in from that side, along [start, end] of it.
struct Strut {
    enum class Side { Left, Right, Top, Bottom };
    Side side;
    int width;
    int start;
    int end;
};

// The part of `screen` that no strut covers; `root` is the whole X screen, whose edges the
// struts count from. A strut on a neighbouring screen leaves this one alone.
QRect WorkAreaOf(const QRect& screen, const QSize& root, const QList<Strut>& struts);

// The work area of `screen` on the X display the program runs on, from the struts of every
// window the window manager lists (_NET_CLIENT_LIST). Empty when the program does not run on
// X11 or no window manager lists its clients. With more than one screen Qt's available
// geometry is the whole screen, so this is where the panels come from.
std::optional<QRect> X11WorkArea(const QRect& screen);

// Keeps a window of ours out of the taskbar and the pager (_NET_WM_STATE_SKIP_TASKBAR,
// _NET_WM_STATE_SKIP_PAGER). Call it while the window is hidden, before every show: a window
// manager forgets a withdrawn window's states, and Qt keeps those it finds when it maps it.
void KeepOutOfTaskbar(quintptr window);

} // namespace orvanel
