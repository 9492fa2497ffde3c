#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace orvanel {

// Everything that changes the user's machine beyond the program folder goes through here, so
// that a run with ORVANEL_SYSTEM_ACTIONS=log only writes what it would have done.
class SystemActions {
public:
    virtual ~SystemActions() = default;
    // Opens a web address in the user's browser.
    virtual bool OpenUrl(const QString& url) = 0;
    // Opens a file or folder with the desktop's program for it.
    virtual bool OpenFile(const QString& path) = 0;
    // Starts a program, detached.
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
    // Empties the user's trash (the real one asks the user to confirm first).
    [[nodiscard]] virtual bool EmptyTrash() = 0;
    // Forgets the user's recently used documents.
    [[nodiscard]] virtual bool ClearRecentDocuments() = 0;
    // Minimises or maximises another program's top-level window.
    virtual bool MinimizeWindow(quint64 windowId) = 0;
    virtual bool MaximizeWindow(quint64 windowId) = 0;
    // Shows a folder in the user's file manager.
    virtual bool OpenFolder(const QString& path) = 0;
    // Ends the session and powers the machine off.
    virtual bool PowerOff() = 0;
};

// Writes "SystemAction: <what>" through `sink` and reports success.
class LoggingSystemActions final : public SystemActions {
public:
    explicit LoggingSystemActions(std::function<void(const QString&)> sink)
        : sink_(std::move(sink)) {}
    bool OpenUrl(const QString& url) override { return Say(QStringLiteral("OpenUrl ") + url); }
    bool OpenFile(const QString& path) override { return Say(QStringLiteral("OpenFile ") + path); }
    bool StartProgram(const QString& program, const QStringList& arguments) override {
        return Say(QStringLiteral("StartProgram ") + (QStringList{program} + arguments).join(u' '));
    }
    bool EmptyTrash() override { return Say(QStringLiteral("EmptyTrash")); }
    bool ClearRecentDocuments() override { return Say(QStringLiteral("ClearRecentDocuments")); }
    bool MinimizeWindow(quint64 id) override {
        Say(QStringLiteral("MinimizeWindow 0x") + QString::number(id, 16));
        return !windows_ || windows_->MinimizeWindow(id);
    }
    bool MaximizeWindow(quint64 id) override {
        Say(QStringLiteral("MaximizeWindow 0x") + QString::number(id, 16));
        return !windows_ || windows_->MaximizeWindow(id);
    }
    bool OpenFolder(const QString& path) override {
        return Say(QStringLiteral("OpenFolder ") + path);
    }
    bool PowerOff() override { return Say(QStringLiteral("PowerOff")); }
    // From now on minimising and maximising are carried out by `windows` as well: for a test
    // that watches windows of its own on a display of its own.
    void CarryOutWindowActions(SystemActions* windows) { windows_ = windows; }

private:
    bool Say(const QString& what) {
        if (sink_) sink_(QStringLiteral("SystemAction: ") + what);
        return true;
    }
    std::function<void(const QString&)> sink_;
    SystemActions* windows_ = nullptr;
};

// True when the environment asks for logged instead of real system actions.
bool SystemActionsLogOnly();

} // namespace orvanel
