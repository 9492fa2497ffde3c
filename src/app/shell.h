#pragma once

#include "net/datagram_receiver.h"

#include <QtGlobal>

#include <memory>

namespace orvanel {

class AppContext;
class Engine;
class MessageBoxes;
class ShellCommands;
class ShellLifecycle;
class ShellTools;
class ShellViews;
class ShellParts;

// The running program, put together: the windows and running parts (ShellParts), the views
// the logic writes into (ShellViews), the start-up and shutdown sequences (ShellLifecycle)
// the user's commands (ShellCommands) and the tool windows (ShellTools).
class Shell final {
public:
    struct Options {
        quint16 port = DatagramReceiver::kDefaultPort;
    };
    Shell(AppContext& ctx, MessageBoxes& boxes, Options options);
    ~Shell();

    // Loads everything, shows the character and starts the main loop. False when the program
    // ended on the way (a missing picture, the port in use); ExitCode() says how.
    bool Start();
    // Closes the character window: the shutdown sequence. The program then ends.
    void Close(int exitCode = 0);
    bool Closed() const;
    int ExitCode() const;

    // The play/talk engine the windows show.
    Engine& Core() const;
    ShellParts& Parts() const { return *parts_; }
    ShellViews& Views() const { return *views_; }
    ShellLifecycle& Lifecycle() const { return *lifecycle_; }
    ShellCommands& Commands() const { return *commands_; }
    ShellTools& Tools() const { return *tools_; }

private:
    std::unique_ptr<ShellParts> parts_;
    std::unique_ptr<ShellViews> views_;
    std::unique_ptr<ShellLifecycle> lifecycle_;
    std::unique_ptr<ShellCommands> commands_;
    std::unique_ptr<ShellTools> tools_;
};

} // namespace orvanel
