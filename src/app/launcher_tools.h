#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace orvanel {

// One button of the system launcher frmSL: a maintenance tool of the original's platform and
// the programs that do its job on a Linux desktop. The whole table is in launcher_tools.cpp.
struct LauncherTool {
    const char16_t* button;  // the original's button name (cmdpole, cmdclnup, ...)
    const char16_t* caption; // what the button says
    // The programs that stand in for the tool, most usual first: command lines separated by
    // "|", arguments by blanks. The first whose program is on PATH is the one started.
    const char16_t* candidates;
    const char16_t* hover; // what she says while the pointer is on the button
    // After the start: "\h起動！" and the launcher closes (true), or it closes silently.
    bool announce = true;
};

// The rows in the order of the buttons.
std::span<const LauncherTool> LauncherTools();

// A command line found on PATH: the program's full path and its arguments.
struct ToolCommand {
    QString program;
    QStringList arguments;
};
// The first of the row's candidates whose program is on PATH (as PATH is now).
std::optional<ToolCommand> FindTool(const LauncherTool& tool);

} // namespace orvanel
