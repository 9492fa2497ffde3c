#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace orvanel {

// The other programs' top-level windows as the window system lists them. Reading only: what
// changes a window (minimising, maximising) goes through SystemActions.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;
    // The title of every top-level window, in the window system's order; "" for a window
    // without one. Empty when there is no window system to ask.
    virtual QStringList Titles() = 0;
    // The window that has the activation; 0 when none has it or when it is one of this
    // program's own windows.
    virtual quint64 ActiveWindow() = 0;
    // The title of window `id`; "" when it has none or no longer exists.
    virtual QString Title(quint64 id) = 0;
};

} // namespace orvanel
