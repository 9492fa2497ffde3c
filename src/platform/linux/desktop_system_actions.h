#pragma once

#include "platform/linux/x11_desktop.h"
#include "platform/system_actions.h"

#include <functional>

namespace orvanel {

// The system actions on a Linux desktop: the browser through the desktop's URL handler,
// programs started detached, the freedesktop trash (home and mounted volumes) and
// recently-used list, other programs' windows through the X display, folders through the
// desktop's file manager (FileManager1, else xdg-open), and power-off through logind
// (systemctl when logind does not answer).
class DesktopSystemActions final : public SystemActions {
public:
    // `confirm` asks the user before the trash is emptied; false keeps it.
    explicit DesktopSystemActions(std::function<bool(const QString&)> confirm)
        : confirm_(std::move(confirm)) {}

    bool OpenUrl(const QString& url) override;
    bool OpenFile(const QString& path) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    bool EmptyTrash() override;
    bool ClearRecentDocuments() override;
    bool MinimizeWindow(quint64 windowId) override;
    bool MaximizeWindow(quint64 windowId) override;
    bool OpenFolder(const QString& path) override;
    bool PowerOff() override;

    // The trash folders of the user: the home trash and ".Trash-<uid>" of every mounted
    // volume that has one.
    static QStringList TrashFolders();
    // Deletes everything in a trash folder's "files" and "info"; false when something stayed.
    static bool EmptyTrashFolder(const QString& trash);
    // The recently-used list with no entry.
    static QByteArray EmptyRecentlyUsedList();

private:
    std::function<bool(const QString&)> confirm_;
    X11Desktop windows_;
};

} // namespace orvanel
