#pragma once

#include <QFile>
#include <QString>

namespace orvanel {

class Clock;

// --script-log: every script handed to the player, one JSON line each
// ({"t": ms since start, "origin": ..., "script": ...}), flushed at once so that script
// authors and end-to-end tests can read what was played while the program runs.
class ScriptLog {
public:
    explicit ScriptLog(Clock& clock);

    // Starts the log at `path` (truncated). False when it cannot be opened.
    bool Open(const QString& path);
    bool IsOpen() const { return file_.isOpen(); }
    void Append(const QString& script, const QString& origin);

private:
    Clock& clock_;
    quint32 start_ = 0;
    QFile file_;
};

} // namespace orvanel
