#pragma once

#include <QString>

namespace orvanel {

// What a sequence tells its caller when it stopped on a fatal failure: the message box has
// been shown and the program must end (the caller ends it; logic never exits by itself).
// Functions returning it are [[nodiscard]].
enum class Outcome { Go, EndProgram };

// Message boxes with an OK button (title "Orvanel"); returns when the user has closed it.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void ShowMessage(const QString& text) = 0;
};

} // namespace orvanel
