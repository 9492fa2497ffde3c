#pragma once

#include "character/shape_views.h"

#include <QString>

namespace orvanel {

class TraceLog;

// The program's message boxes (title "Orvanel"). When nobody can answer them — in tests and
// in every run with ORVANEL_SYSTEM_ACTIONS=log or ORVANEL_MESSAGE_BOXES=log — a box is not
// shown: its text goes to the trace log as "MessageBox: <text>" (and to standard error) and
// the box counts as answered with OK.
class MessageBoxes final : public UserMessages {
public:
    explicit MessageBoxes(TraceLog* log = nullptr) : log_(log) {}
    void SetLog(TraceLog* log) { log_ = log; }

    // OK only.
    void ShowMessage(const QString& text) override;
    // OK and Cancel with the question icon; true for OK.
    bool Confirm(const QString& text);

    // Whether boxes are logged instead of shown (the environment decides).
    static bool LoggedOnly();

private:
    void Log(const QString& kind, const QString& text);
    TraceLog* log_;
};

} // namespace orvanel
