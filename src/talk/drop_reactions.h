#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace orvanel {

class BulkUpdate;
struct TalkContext;

// The most characters of a dropped text she repeats: what the default balloon shows beside
// her question.
inline constexpr qsizetype kDroppedTextChars = 120;

// What she says to a dropped text: "\h「" + text + "」って何のことですか？", the text cut to
// kDroppedTextChars and shown literally, so that it can never act as script. Web addresses
// ("http://", "https://") give "": she ignores them.
QString DroppedTextScript(const QString& text);

// Things dropped on the character: an update, a skin or an add-in archive is unpacked, the
// dictionary updates are run, any other file is opened with the desktop's program for it, and
// a text makes her ask what it means. Each archive is unpacked with the same limits and
// checks as a dictionary archive; nothing from an archive is started without the user's OK.
class DropReactions {
public:
    DropReactions(TalkContext& talk, BulkUpdate& bulk);

    // What the windows do for a drop. Unset hooks refuse or do nothing.
    struct Hooks {
        // Asks the user with OK and Cancel; true for OK.
        std::function<bool(const QString& question)> confirm;
        // New skins arrived: the skin selection window shows them.
        std::function<void()> skinsArrived;
        // The updater has taken over: the program ends at once, without its shutdown sequence.
        std::function<void()> endNow;
    };
    Hooks hooks;

    // Local files and folders (full paths, in the order given) and the text of one drop.
    void Drop(const QStringList& files, const std::optional<QString>& text);

    // RunUpdater: starts the updater unpacked into "UpdateTemp" — only an executable regular
    // file "Update" (or "Update.exe") inside that folder, and only when the user says OK to a
    // question that names it. Started: [General] UpDate = "True", and the program ends.
    // Otherwise she says that it could not be started. True when it started.
    bool RunUpdater();

private:
    void DropFiles(const QStringList& files);
    bool Readable(const QString& path);
    // Unpacks into `folder` inside LogBegin(`begin`); false (said and logged) when refused.
    bool Unpack(const QString& archive, const QString& folder, const QString& begin);
    void UpdateArchive(const QString& archive);
    void OpenFiles(const QStringList& files);
    void Say(const QString& line);
    void Fail(const QString& why);

    TalkContext& talk_;
    BulkUpdate& bulk_;
};

} // namespace orvanel
